// Times the sandbox's own calls over one scene, made as the main loop makes
// them but with a fixed frameSeconds.
#pragma once

#include "scenes.h"

#include <time.h>

#include <optional>
#include <vector>

namespace bench {

// The benchmark's one clock: CPU time of the whole process in milliseconds.
// The GL driver's threads count; other programs on a busy machine do not.
// A browser page has no such clock: there it is the wall clock, which its
// one thread, busy throughout, keeps close to that thread's CPU time.
inline double cpuMs() {
    timespec t;
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t) != 0) clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

// The hash space's cell sizes, 2^min to 2^max (ODE's dHashSpaceSetLevels).
struct Levels {
    int min, max;
};

// Medians in milliseconds: spawn per build of the scene, the rest per pass. And
// the mean step: where the process clock ticks coarsely (Windows counts in
// steps of 15.6 ms) single passes read 0 or a whole tick, and only the sum
// over all passes tells the time. And the slowest pass: the longest step the
// program then asks of the world.
struct SceneResult {
    Levels levels;  // the range the passes were timed with
    int objects;    // geoms drawn: every body's, the static spheres and the jaws
    double spawn, step, render, pass, meanStep, slowest;
};

// The sandbox's own reset, as the r key's event makes it.
void resetWorld(Sandbox& sandbox);

// Builds the scene in a fresh world, lets it land, then times `passes` passes
// per level range. The ranges take turns, each set on the space just before
// its pass (the hash space rebuilds its table at every collision test), so
// all are timed on one world under one load. Empty: the program's own levels.
std::vector<SceneResult> measureScene(Sandbox& sandbox, const Scene& scene,
                                      const std::vector<std::optional<Levels>>& levels, int passes);

// Builds and lands the scene the same way, sets `levels`, then runs `passes`
// passes inside profiledPasses, the one function the profile dumps.
void profileScene(Sandbox& sandbox, const Scene& scene, std::optional<Levels> levels, int passes);
void profiledPasses(Sandbox& sandbox, int passes);

}  // namespace bench
