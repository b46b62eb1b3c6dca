#include "measure.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace bench {
namespace {

constexpr double kPassSeconds = 1.0 / 60.0;  // frameSeconds of every pass
constexpr int kBuilds = 3;  // builds of each scene for the spawn median; the last is timed
// Structures start 40 or more above the ground and land after about 2.9 s:
// the timed passes start after 3 s, on the landed heaps.
constexpr int kLandingPasses = 180;
constexpr int kWarmUpPasses = 3;  // before a profile, so that its passes are steady ones

void step(Sandbox& sandbox) {
    sandbox.frameSeconds = kPassSeconds;
    sandbox.stepPhysics();
}

// Renders and waits until the frame is drawn: a browser draws it in a
// process of its own, after the program's calls have returned.
void render(Sandbox& sandbox) {
    sandbox.render();
    unsigned char pixel[3];
    glReadPixels(0, 0, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
}

// The main loop's pass without the event poll and the clock.
void pass(Sandbox& sandbox) {
    step(sandbox);
    sandbox.update();
    render(sandbox);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Every build starts from the sandbox's own reset, as the r key's would; the
// last one is kept. Returns the median spawn time.
double buildAndLand(Sandbox& sandbox, const Scene& scene) {
    std::vector<double> spawn;
    for (int i = 0; i < kBuilds; ++i) {
        resetWorld(sandbox);
        SceneBuilder builder{sandbox};
        scene.build(builder);
        spawn.push_back(builder.spawnMs);
    }
    for (int i = 0; i < kLandingPasses; ++i) step(sandbox);
    return median(spawn);
}

}  // namespace

void resetWorld(Sandbox& sandbox) {
    SDL_UserEvent reset{};
    reset.type = SDL_USEREVENT;
    reset.code = kResetCode;
    sandbox.onUserEvent(reset);
}

std::vector<SceneResult> measureScene(Sandbox& sandbox, const Scene& scene,
                                      const std::vector<std::optional<Levels>>& levels,
                                      int passes) {
    const double spawn = buildAndLand(sandbox, scene);
    Levels own;
    dHashSpaceGetLevels(sandbox.space, &own.min, &own.max);
    const int objects = dSpaceGetNumGeoms(sandbox.space) - 1;  // all but the ground plane

    const std::size_t ranges = levels.size();
    std::vector<std::vector<double>> stepMs(ranges), renderMs(ranges), passMs(ranges);
    for (std::size_t i = 0; i < passes * ranges; ++i) {
        const std::size_t r = i % ranges;
        const Levels range = levels[r].value_or(own);
        dHashSpaceSetLevels(sandbox.space, range.min, range.max);
        const double start = cpuMs();
        step(sandbox);
        const double stepped = cpuMs();
        sandbox.update();
        render(sandbox);
        const double drawn = cpuMs();
        stepMs[r].push_back(stepped - start);
        renderMs[r].push_back(drawn - stepped);
        passMs[r].push_back(drawn - start);
    }
    std::vector<SceneResult> results;
    for (std::size_t r = 0; r < ranges; ++r) {
        const double total = std::accumulate(stepMs[r].begin(), stepMs[r].end(), 0.0);
        results.push_back({levels[r].value_or(own), objects, spawn, median(stepMs[r]),
                           median(renderMs[r]), median(passMs[r]), total / passes,
                           *std::max_element(passMs[r].begin(), passMs[r].end())});
    }
    return results;
}

void profileScene(Sandbox& sandbox, const Scene& scene, std::optional<Levels> levels, int passes) {
    buildAndLand(sandbox, scene);
    if (levels) dHashSpaceSetLevels(sandbox.space, levels->min, levels->max);
    for (int i = 0; i < kWarmUpPasses; ++i) pass(sandbox);
    profiledPasses(sandbox, passes);
}

// Kept out of line and free of allocations of its own, so that the profile
// holds the passes and nothing else.
__attribute__((noinline)) void profiledPasses(Sandbox& sandbox, int passes) {
    for (int i = 0; i < passes; ++i) pass(sandbox);
}

}  // namespace bench
