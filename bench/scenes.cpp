#include "scenes.h"

#include "measure.h"

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

constexpr float kCountsPerUnit = 40.0f;  // mouse counts per unit of tool travel

// Shots leave the tool along -x at one speed, so shots spaced along x stay
// apart in flight.
constexpr float kShotRowGap = 4.0f;         // along x, between rows of shots
constexpr float kBallColumnGap = 4.0f;      // along y: balls are 3 across
constexpr float kSweeperColumnGap = 14.0f;  // along y: sweepers are 12 long

// Cloths are 34 across: four to a row, each further row further from the camera.
constexpr float kClothPitch = 40.0f;
constexpr int kClothsPerRow = 4;

struct Placement {
    float x, y;
    Spawner spawner;
};

// The full house's structures, static spheres and beans side by side; its
// shots follow from kHouseBallsX and kHouseSweepersX.
constexpr Placement kFullHouse[] = {
    {0, -22, &Sandbox::dropSphereBox},    {0, 0, &Sandbox::dropBoxBox},
    {0, 22, &Sandbox::dropEmptyBox},      {-40, -28, &Sandbox::dropCylinder},
    {-40, 0, &Sandbox::dropCloth},        {-20, -12, &Sandbox::addStaticSphere},
    {-20, 12, &Sandbox::addStaticSphere}, {15, -8, &Sandbox::dropBean},
    {15, -4, &Sandbox::dropBean},         {15, 0, &Sandbox::dropBean},
    {15, 4, &Sandbox::dropBean},          {15, 8, &Sandbox::dropBean},
};
constexpr float kHouseBallsX = 20.0f;     // one row of 10 balls
constexpr float kHouseSweepersX = 25.0f;  // one row of 5 sweepers

// `count` spawns, `perRow` to a row centred on y = 0, the rows `rowStep`
// apart along x from x0.
void grid(SceneBuilder& builder, float x0, float rowStep, int count, int perRow, float columnGap,
          Spawner spawner) {
    perRow = std::min(count, perRow);
    for (int i = 0; i < count; ++i) {
        builder.spawnAt(x0 + (i / perRow) * rowStep, (i % perRow - (perRow - 1) / 2.0f) * columnGap,
                        spawner);
    }
    builder.home();
}

void shots(SceneBuilder& builder, int perRow, float columnGap, Spawner fire) {
    grid(builder, 0, kShotRowGap, 20, perRow, columnGap, fire);
}

void cloths(SceneBuilder& builder, int count) {
    grid(builder, 0, -kClothPitch, count, kClothsPerRow, kClothPitch, &Sandbox::dropCloth);
}

void fullHouse(SceneBuilder& builder) {
    for (const Placement& p : kFullHouse) builder.spawnAt(p.x, p.y, p.spawner);
    grid(builder, kHouseBallsX, 0, 10, 10, kBallColumnGap, &Sandbox::fireBall);
    grid(builder, kHouseSweepersX, 0, 5, 5, kSweeperColumnGap, &Sandbox::fireCylinder);
}

}  // namespace

// The mouse's vertical axis moves the tool along x, its horizontal one along y.
void SceneBuilder::moveTool(float x, float y) {
    SDL_MouseMotionEvent motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.yrel = static_cast<Sint16>(std::lround((x - sandbox.toolPosition.x) * kCountsPerUnit));
    motion.xrel = static_cast<Sint16>(std::lround((y - sandbox.toolPosition.y) * kCountsPerUnit));
    sandbox.onMouseMotion(motion);
}

void SceneBuilder::spawnAt(float x, float y, Spawner spawner) {
    moveTool(x, y);
    const double start = cpuMs();
    (sandbox.*spawner)();
    spawnMs += cpuMs() - start;
}

const std::vector<Scene>& standardScenes() {
    static const std::vector<Scene> scenes = {
        {"sphere-block", [](SceneBuilder& b) { b.spawnAt(0, 0, &Sandbox::dropSphereBox); }},
        {"box-block", [](SceneBuilder& b) { b.spawnAt(0, 0, &Sandbox::dropBoxBox); }},
        {"empty-box", [](SceneBuilder& b) { b.spawnAt(0, 0, &Sandbox::dropEmptyBox); }},
        {"cylinder", [](SceneBuilder& b) { b.spawnAt(0, 0, &Sandbox::dropCylinder); }},
        {"balls-20", [](SceneBuilder& b) { shots(b, 10, kBallColumnGap, &Sandbox::fireBall); }},
        {"sweepers-20",
         [](SceneBuilder& b) { shots(b, 4, kSweeperColumnGap, &Sandbox::fireCylinder); }},
        {"full-house", fullHouse},
        {"cloth", [](SceneBuilder& b) { cloths(b, 1); }},
        {"cloths-2", [](SceneBuilder& b) { cloths(b, 2); }},
        {"cloths-4", [](SceneBuilder& b) { cloths(b, 4); }},
        {"cloths-8", [](SceneBuilder& b) { cloths(b, 8); }},
    };
    return scenes;
}

}  // namespace bench
