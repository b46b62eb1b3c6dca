// Runs one scene in the sandbox and, beside it, in the floor loop, and
// times every part of their passes.
#pragma once

#include "samples.h"
#include "scenes.h"

#include <string>
#include <vector>

namespace bench {

struct RunSettings {
    int passes;  // timed passes per scene
    int settle;  // untimed passes before them, physics only
    int spawns;  // times the scene is built to time its spawning
};

// Every figure is in milliseconds per pass, except spawn (per build).
struct SceneResult {
    std::string name;
    int objects = 0;  // bodies and static geoms drawn, the jaws included
    Samples spawn;
    Samples collide, solve, draw, drawPlain, pass;  // the sandbox
    Samples floorCollide, floorSolve, floorDraw, floorDrawPlain, floorPass;
    Samples passRatio;  // sandbox ÷ floor, pass by pass
    double drift = 0.0;  // largest distance between a body and its twin at the end
};

// Builds the scene in `sandbox`, an identical twin for the floor loop, and
// runs both pass by pass, alternating which goes first.
SceneResult measureScene(Sandbox& sandbox, const Scene& scene, const RunSettings& settings);

class FloorLoop;

// What the floor loop needs to repeat a pass of the sandbox exactly: the
// solver's seed before it and the view that the sandbox drew with.
struct PassStart {
    unsigned long seed;
    GLfloat view[16];
};

// For an instruction profile: builds the scene in the sandbox and in a twin
// for the floor loop, brings both to the same state, then runs `passes`
// passes of the sandbox inside profiledPasses and the same passes of the
// floor loop inside profiledFloorPasses, the two functions that the
// profiler collects. Returns how far the two worlds drifted apart (0 when
// they stayed identical).
double profileScene(Sandbox& sandbox, const Scene& scene, const RunSettings& settings);
void profiledPasses(Sandbox& sandbox, std::vector<PassStart>& starts);
void profiledFloorPasses(FloorLoop& floor, const std::vector<PassStart>& starts);

}  // namespace bench
