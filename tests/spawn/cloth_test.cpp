// The cloth (key 4): a flat 29 × 29 grid of very light nodes, each joined to
// its neighbours along the two grid directions; and the order in which the
// three soft structures enter the one list of springs.
#include "spawn/lattice_checks.h"

#include <cmath>

namespace {

constexpr double kRadius = 0.6f;
constexpr double kSpacing = 2.0 * kRadius;
constexpr double kHalfWidth = 14 * kSpacing;  // from the tool to the outermost node centres
constexpr size_t kNodes = 841;
constexpr size_t kSprings = 1624;

bool oneSpacingApart(Point a, Point b) {
    return std::fabs(distance(a, b) - kSpacing) < 1e-4;
}

// How many of a node's two grid coordinates lie on the sheet's border.
int bordersOf(Point p, const Float3& tool) {
    return (std::fabs(std::fabs(p.x - tool.x) - kHalfWidth) < 1e-4) +
           (std::fabs(std::fabs(p.y - tool.y) - kHalfWidth) < 1e-4);
}

}  // namespace

TEST_F(SoftStructureTest, ClothIsOneStructureOf841SpheresAnd1624Springs) {
    sandbox->cloths.radius = 0.0f;  // the drop writes its drawing parameters every time
    sandbox->cloths.slices = 0;
    sandbox->cloths.stacks = 0;
    press(SDLK_4);

    const BodyList& sheet = onlyStructure(sandbox->cloths);
    EXPECT_EQ(sheet.size(), kNodes);
    EXPECT_EQ(countBodies(), static_cast<int>(kNodes));
    EXPECT_EQ(sandbox->springs.joints.size(), kSprings);
    EXPECT_EQ(sandbox->cloths.radius, 0.6f);
    EXPECT_EQ(sandbox->cloths.slices, 4);
    EXPECT_EQ(sandbox->cloths.stacks, 4);
    EXPECT_TRUE(allNodesAre(sheet, kRadius, 5e-7f));
}

TEST_F(SoftStructureTest, ClothLiesFlatAroundTheToolAtHeight40) {
    moveToolAside();
    press(SDLK_4);

    const Float3 tool = sandbox->toolPosition;
    const BodyList& sheet = onlyStructure(sandbox->cloths);
    ASSERT_EQ(sheet.size(), kNodes);
    EXPECT_TRUE(isNear(at(sheet.front()), {tool.x + 16.8, tool.y - 16.8, 40.0}, 1e-5));
    EXPECT_TRUE(isNear(at(sheet.back()), {tool.x - 16.8, tool.y + 16.8, 40.0}, 1e-5));
    for (size_t i = 0; i < sheet.size(); ++i) {
        EXPECT_EQ(at(sheet[i]).z, 40.0) << "node " << i;
    }
}

TEST_F(SoftStructureTest, ClothSpringsJoinEachGridNeighbourOnce) {
    press(SDLK_4);

    const BodyList& sheet = onlyStructure(sandbox->cloths);
    EXPECT_TRUE(joinEachNeighbourPairOnce(springEnds(sandbox->springs.joints, sheet), sheet,
                                          oneSpacingApart));
}

TEST_F(SoftStructureTest, ClothCornersHaveTwoSpringsBorderNodesThreeAndInteriorFour) {
    press(SDLK_4);

    const Float3 tool = sandbox->toolPosition;
    const BodyList& sheet = onlyStructure(sandbox->cloths);
    const std::vector<int> count =
        springsPerNode(springEnds(sandbox->springs.joints, sheet), sheet.size());
    for (size_t i = 0; i < sheet.size(); ++i) {
        EXPECT_EQ(count[i], 4 - bordersOf(at(sheet[i]), tool)) << "node " << i;
    }
}

TEST_F(SoftStructureTest, ClothSpringsRunFromOlderToNewerNodeAndHoldTheirRestLength) {
    press(SDLK_4);

    const BodyList& sheet = onlyStructure(sandbox->cloths);
    const auto& springs = sandbox->springs.joints;
    EXPECT_TRUE(followNodeCreation(springEnds(springs, sheet)));
    EXPECT_TRUE(pointFromFirstToSecond(springs));
    EXPECT_TRUE(allHaveSettings(springs, {0.0, 0.0, 0.0, 0.01f, 0.5f, 0.01f}));
}

TEST_F(SoftStructureTest, ClothLandsAndComesToRestWithoutTearing) {
    liftToolAboveTheDrop();
    press(SDLK_4);

    const BodyList& sheet = onlyStructure(sandbox->cloths);
    EXPECT_TRUE(fallWithoutTearing(4.0, sheet, kRadius, 2.0 * kSpacing));
    EXPECT_TRUE(restsOnTheGround(sheet, kRadius));
}

TEST_F(SoftStructureTest, SpringsOfABoxACylinderAndAClothFollowInDropOrder) {
    press(SDLK_2);
    press(SDLK_3);
    press(SDLK_4);

    const auto& joints = sandbox->springs.joints;
    ASSERT_EQ(joints.size(), 3604u);
    EXPECT_TRUE(allJoinNodesOfTheStructure(
        springEnds(joints, 0, 1200, onlyStructure(sandbox->emptyBoxes))));
    EXPECT_TRUE(allJoinNodesOfTheStructure(
        springEnds(joints, 1200, 780, onlyStructure(sandbox->softCylinders))));
    EXPECT_TRUE(
        allJoinNodesOfTheStructure(springEnds(joints, 1980, 1624, onlyStructure(sandbox->cloths))));
}
