#include "scenes.h"

#include <cmath>

namespace bench {
namespace {

constexpr float kCountsPerUnit = 40.0f;  // mouse counts that move the tool one unit

// Bodies that the spawners drop at one spot would start inside each other,
// so the tool is moved between drops, the way a user would.
void moveToolTo(Sandbox& sandbox, float x, float y) {
    SDL_MouseMotionEvent motion{};
    motion.type = SDL_MOUSEMOTION;
    // The mouse's vertical axis moves the tool along x, its horizontal one along y.
    motion.yrel = static_cast<Sint16>(std::lround((x - sandbox.toolPosition.x) * kCountsPerUnit));
    motion.xrel = static_cast<Sint16>(std::lround((y - sandbox.toolPosition.y) * kCountsPerUnit));
    sandbox.onMouseMotion(motion);
}

void home(Sandbox& sandbox) {
    moveToolTo(sandbox, 0.0f, 0.0f);
}

// Shots leave the tool along -x at one speed, so shots spaced along x stay
// apart in flight.
constexpr float kShotRowGap = 4.0f;   // along x, between shots of one column
constexpr float kBallColumnGap = 4.0f;     // along y: balls are 3 across
constexpr float kSweeperColumnGap = 14.0f; // along y: sweepers are 12 long

template <typename Fire>
void fireGrid(Sandbox& sandbox, int rows, int columns, float columnGap, Fire fire) {
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            moveToolTo(sandbox, row * kShotRowGap, (column - (columns - 1) / 2.0f) * columnGap);
            fire(sandbox);
        }
    }
}

void fireBalls(Sandbox& sandbox, int rows, int columns) {
    fireGrid(sandbox, rows, columns, kBallColumnGap, [](Sandbox& s) { s.fireBall(); });
}

void fireSweepers(Sandbox& sandbox, int rows, int columns) {
    fireGrid(sandbox, rows, columns, kSweeperColumnGap, [](Sandbox& s) { s.fireCylinder(); });
}

// Cloths are 34 units across: four to a row, a row further from the camera
// for every four.
constexpr float kClothPitch = 40.0f;
constexpr int kClothsPerRow = 4;

void dropCloths(Sandbox& sandbox, int count) {
    const int perRow = count < kClothsPerRow ? count : kClothsPerRow;
    for (int i = 0; i < count; ++i) {
        const int row = i / kClothsPerRow;
        const int column = i % kClothsPerRow;
        moveToolTo(sandbox, -row * kClothPitch, (column - (perRow - 1) / 2.0f) * kClothPitch);
        sandbox.dropCloth();
    }
    home(sandbox);
}

// Where the full house puts each of its pieces, as tool positions (x, y).
struct Spot {
    float x, y;
};
constexpr Spot kSphereBlockSpot = {0, -22};
constexpr Spot kBoxBlockSpot = {0, 0};
constexpr Spot kEmptyBoxSpot = {0, 22};
constexpr Spot kCylinderSpot = {-40, -28};
constexpr Spot kClothSpot = {-40, 0};
constexpr Spot kStaticSphereSpots[] = {{-20, -12}, {-20, 12}};
constexpr Spot kBeanSpots[] = {{15, -8}, {15, -4}, {15, 0}, {15, 4}, {15, 8}};
constexpr float kHouseBallsX = 20.0f;     // the balls leave from here, 10 across
constexpr float kHouseSweepersX = 25.0f;  // the sweepers from here, 5 across

template <typename Drop>
void dropAt(Sandbox& sandbox, Spot spot, Drop drop) {
    moveToolTo(sandbox, spot.x, spot.y);
    drop(sandbox);
}

void fullHouse(Sandbox& sandbox) {
    dropAt(sandbox, kSphereBlockSpot, [](Sandbox& s) { s.dropSphereBox(); });
    dropAt(sandbox, kBoxBlockSpot, [](Sandbox& s) { s.dropBoxBox(); });
    dropAt(sandbox, kEmptyBoxSpot, [](Sandbox& s) { s.dropEmptyBox(); });
    dropAt(sandbox, kCylinderSpot, [](Sandbox& s) { s.dropCylinder(); });
    dropAt(sandbox, kClothSpot, [](Sandbox& s) { s.dropCloth(); });
    for (Spot spot : kStaticSphereSpots) dropAt(sandbox, spot, [](Sandbox& s) { s.addStaticSphere(); });
    for (Spot spot : kBeanSpots) dropAt(sandbox, spot, [](Sandbox& s) { s.dropBean(); });
    for (int i = 0; i < 10; ++i) {
        dropAt(sandbox, {kHouseBallsX, (i - 4.5f) * kBallColumnGap}, [](Sandbox& s) { s.fireBall(); });
    }
    for (int i = 0; i < 5; ++i) {
        dropAt(sandbox, {kHouseSweepersX, (i - 2.0f) * kSweeperColumnGap},
               [](Sandbox& s) { s.fireCylinder(); });
    }
    home(sandbox);
}

}  // namespace

const std::vector<Scene>& standardScenes() {
    static const std::vector<Scene> scenes = {
        {"sphere-block", [](Sandbox& s) { s.dropSphereBox(); }},
        {"box-block", [](Sandbox& s) { s.dropBoxBox(); }},
        {"empty-box", [](Sandbox& s) { s.dropEmptyBox(); }},
        {"cylinder", [](Sandbox& s) { s.dropCylinder(); }},
        {"cloth", [](Sandbox& s) { s.dropCloth(); }},
        {"balls-20", [](Sandbox& s) { fireBalls(s, 2, 10); home(s); }},
        {"sweepers-20", [](Sandbox& s) { fireSweepers(s, 5, 4); home(s); }},
        {"full-house", fullHouse},
        {"cloths-2", [](Sandbox& s) { dropCloths(s, 2); }},
        {"cloths-4", [](Sandbox& s) { dropCloths(s, 4); }},
        {"cloths-8", [](Sandbox& s) { dropCloths(s, 8); }},
    };
    return scenes;
}

std::vector<dBodyID> bodiesOf(const Sandbox& sandbox) {
    std::vector<dBodyID> bodies;
    auto add = [&bodies](const BodyList& list) {
        bodies.insert(bodies.end(), list.begin(), list.end());
    };
    for (const BodyList& list : sandbox.sphereBoxes.structures) add(list);
    for (const BodyList& list : sandbox.boxBoxes.structures) add(list);
    for (const BodyList& list : sandbox.emptyBoxes.structures) add(list);
    for (const BodyList& list : sandbox.softCylinders.structures) add(list);
    for (const BodyList& list : sandbox.cloths.structures) add(list);
    add(sandbox.beans.bodies);
    add(sandbox.balls.bodies);
    add(sandbox.shotCylinders.bodies);
    return bodies;
}

int drawnObjects(const Sandbox& sandbox) {
    constexpr int kJaws = 2;
    return static_cast<int>(bodiesOf(sandbox).size() + sandbox.staticSpheres.geoms.size()) + kJaws;
}

}  // namespace bench
