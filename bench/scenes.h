// The standard scenes, each built in an empty world through the sandbox's
// own spawners and tool, so that what is measured is what a user makes.
#pragma once

#include "sandbox.h"

#include <string>
#include <vector>

namespace bench {

struct Scene {
    std::string name;
    void (*build)(Sandbox& sandbox);
};

// Every structure kind alone, the shots alone, the full house and the cloth
// series (whose first point, one cloth, is the cloth alone), in that order.
// Each leaves the tool back where it started.
const std::vector<Scene>& standardScenes();

// Every body of the scene, in the order of the lists that draw them.
std::vector<dBodyID> bodiesOf(const Sandbox& sandbox);

// The number of bodies and static geoms that a frame draws, the jaws
// included.
int drawnObjects(const Sandbox& sandbox);

}  // namespace bench
