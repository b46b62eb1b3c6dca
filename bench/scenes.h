// The standard scenes, built as a user builds them: the tool is moved by the
// sandbox's own mouse handler, then one of its spawners is called.
#pragma once

#include "sandbox.h"

#include <vector>

namespace bench {

using Spawner = void (Sandbox::*)();

// Builds one scene and adds up the time its spawner calls take.
struct SceneBuilder {
    Sandbox& sandbox;
    double spawnMs = 0.0;

    void spawnAt(float x, float y, Spawner spawner);
    // Back where the reset puts the tool, so the camera frames every scene alike.
    void home() { moveTool(kToolStart.x, kToolStart.y); }
    void moveTool(float x, float y);
};

struct Scene {
    const char* name;
    void (*build)(SceneBuilder& builder);
};

// One scene per structure kind, the shots, the full house and the cloth
// series, each leaving the tool at home.
const std::vector<Scene>& standardScenes();

}  // namespace bench
