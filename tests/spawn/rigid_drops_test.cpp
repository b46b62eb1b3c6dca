// The two rigid drops: where their blocks start (around the tool's x and y,
// at fixed heights), that each drop is one structure of 729 separate bodies,
// what ODE holds for the pieces, and that a block lands on the ground
// instead of sinking into it.
#include "support/sandbox_fixture.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr size_t kPiecesPerBlock = 9 * 9 * 9;
constexpr size_t kLastPiece = kPiecesPerBlock - 1;
constexpr size_t kNextInRow = 1;     // k + 1: towards +y
constexpr size_t kNextRow = 9;       // j + 1: towards -x
constexpr size_t kNextLayer = 81;    // i + 1: upwards
constexpr float kPlaceTolerance = 1e-4f;
constexpr float kSinkTolerance = 0.05f;  // how far a resting piece may press into the ground
constexpr float kHeapCeiling = 12.0f;    // above the jaws' tops (7) and a piece lodged on them

constexpr float kSphereRadius = 0.25f;
constexpr float kBoxHalfSide = 1.0f;
constexpr float kPieceMass = 1e-7f;

// The lowest and highest centre of a block's pieces.
std::pair<float, float> heightRange(const BodyList& pieces) {
    float lowest = position(pieces.front()).z;
    float highest = lowest;
    for (dBodyID piece : pieces) {
        lowest = std::min(lowest, position(piece).z);
        highest = std::max(highest, position(piece).z);
    }
    return {lowest, highest};
}

}  // namespace

TEST_F(SandboxTest, SphereBlockIsCentredOnToolAtHeightFortyWithTouchingNeighbours) {
    press(SDLK_1);
    const BodyList& block = sandbox->sphereBoxes.structures.at(0);
    EXPECT_TRUE(isAt(position(block[0]), {2.0f, -2.0f, 40.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextInRow]), {2.0f, -1.5f, 40.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextRow]), {1.5f, -2.0f, 40.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextLayer]), {2.0f, -2.0f, 40.5f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kLastPiece]), {-2.0f, 2.0f, 44.0f}, kPlaceTolerance));
    EXPECT_EQ(sandbox->sphereBoxes.radius, kSphereRadius);
    EXPECT_EQ(sandbox->sphereBoxes.slices, 4);
    EXPECT_EQ(sandbox->sphereBoxes.stacks, 4);
}

TEST_F(SandboxTest, BoxBlockStartsFourSidesFromToolAtHeightSixtyWithGapsOfOneTenth) {
    press(SDLK_6);
    const BodyList& block = sandbox->boxBoxes.structures.at(0);
    EXPECT_TRUE(isAt(position(block[0]), {8.0f, -8.0f, 60.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextInRow]), {8.0f, -5.9f, 60.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextRow]), {5.9f, -8.0f, 60.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kNextLayer]), {8.0f, -8.0f, 62.1f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(block[kLastPiece]), {-8.8f, 8.8f, 76.8f}, kPlaceTolerance));
    EXPECT_EQ(sandbox->boxBoxes.sides.x, 2.0f);
    EXPECT_EQ(sandbox->boxBoxes.sides.y, 2.0f);
    EXPECT_EQ(sandbox->boxBoxes.sides.z, 2.0f);
}

TEST_F(SandboxTest, BlocksFollowTheToolSidewaysButNeverInHeight) {
    moveMouse(40, -80);  // tool to x -2, y +1
    click(SDL_BUTTON_WHEELUP);
    click(SDL_BUTTON_WHEELUP);  // and up to 6
    press(SDLK_1);
    press(SDLK_6);

    const BodyList& spheres = sandbox->sphereBoxes.structures.at(0);
    EXPECT_TRUE(isAt(position(spheres[0]), {0.0f, -1.0f, 40.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(spheres[kLastPiece]), {-4.0f, 3.0f, 44.0f}, kPlaceTolerance));
    const BodyList& boxes = sandbox->boxBoxes.structures.at(0);
    EXPECT_TRUE(isAt(position(boxes[0]), {6.0f, -7.0f, 60.0f}, kPlaceTolerance));
    EXPECT_TRUE(isAt(position(boxes[kLastPiece]), {-10.8f, 9.8f, 76.8f}, kPlaceTolerance));
}

TEST_F(SandboxTest, EachDropAddsOneStructureOf729SeparateBodies) {
    press(SDLK_1);
    press(SDLK_6);
    ASSERT_EQ(sandbox->sphereBoxes.structures.size(), 1u);
    ASSERT_EQ(sandbox->boxBoxes.structures.size(), 1u);
    EXPECT_EQ(sandbox->sphereBoxes.structures[0].size(), kPiecesPerBlock);
    EXPECT_EQ(sandbox->boxBoxes.structures[0].size(), kPiecesPerBlock);
    EXPECT_EQ(countBodies(), 2 * static_cast<int>(kPiecesPerBlock));

    press(SDLK_1);
    ASSERT_EQ(sandbox->sphereBoxes.structures.size(), 2u);
    const BodyList& first = sandbox->sphereBoxes.structures[0];
    const BodyList& second = sandbox->sphereBoxes.structures[1];
    EXPECT_EQ(second.size(), kPiecesPerBlock);
    EXPECT_NE(first[0], second[0]);
    // The tool did not move.
    EXPECT_TRUE(isAt(position(second[0]), position(first[0]), kPlaceTolerance));
    EXPECT_EQ(countBodies(), 3 * static_cast<int>(kPiecesPerBlock));
}

TEST_F(SandboxTest, PiecesAreFeatherLightSolidsThatMaySleep) {
    press(SDLK_1);
    press(SDLK_6);
    const double sphereInertia = 0.4 * kPieceMass * kSphereRadius * kSphereRadius;
    const double boxInertia = kPieceMass * (4.0 + 4.0) / 12.0;  // sides 2 by 2
    const std::pair<const BodyList*, double> blocks[] = {
        {&sandbox->sphereBoxes.structures.at(0), sphereInertia},
        {&sandbox->boxBoxes.structures.at(0), boxInertia},
    };
    for (const auto& [block, inertia] : blocks) {
        for (dBodyID piece : *block) {
            dMass mass;
            dBodyGetMass(piece, &mass);
            ASSERT_FLOAT_EQ(mass.mass, kPieceMass);
            ASSERT_NEAR(mass.I[0], inertia, inertia * 1e-4);
            ASSERT_EQ(dBodyGetAutoDisableFlag(piece), 1);
            ASSERT_EQ(dBodyGetData(piece), nullptr);
            ASSERT_NE(dBodyGetFirstGeom(piece), nullptr);
        }
    }
}

TEST_F(SandboxTest, SphereBlockSettlesOnTheGroundWithoutSinkingIntoIt) {
    press(SDLK_1);
    simulate(8.0);
    const auto [lowest, highest] = heightRange(sandbox->sphereBoxes.structures.at(0));
    EXPECT_GE(lowest, kSphereRadius - kSinkTolerance);
    EXPECT_LT(highest, kHeapCeiling);
}

TEST_F(SandboxTest, BoxBlockSettlesOnTheGroundWithoutSinkingIntoItAndStartsToSleep) {
    press(SDLK_6);
    simulate(12.0);
    const BodyList& block = sandbox->boxBoxes.structures.at(0);
    const auto [lowest, highest] = heightRange(block);
    EXPECT_GE(lowest, kBoxHalfSide - kSinkTolerance);
    EXPECT_LT(highest, kHeapCeiling);
    EXPECT_TRUE(std::any_of(block.begin(), block.end(),
                            [](dBodyID piece) { return !dBodyIsEnabled(piece); }));
}
