// The cylinder (key 3): an open tube of 20 columns of 20 nodes standing on a
// circle of radius 2 around the tool, joined up the columns and around the
// rings.
#include "spawn/lattice_checks.h"

#include <cmath>

namespace {

constexpr double kRadius = 0.3f;
constexpr double kSpacing = 2.0 * kRadius;  // up a column
constexpr double kRingRadius = 2.0;
constexpr double kTop = 40.0 + 19 * kSpacing;
constexpr int kColumns = 20;
constexpr int kRings = 20;
constexpr size_t kNodes = 400;
constexpr size_t kSprings = 780;

// Node (column, ring) has index 20 · column + ring.
int columnOf(int node) {
    return node / kRings;
}

double columnAngle(int column) {
    return column * 2.0 * M_PI / kColumns;
}

bool sameColumnNextRing(Point a, Point b) {
    return std::fabs(a.x - b.x) < 1e-5 && std::fabs(a.y - b.y) < 1e-5 &&
           std::fabs(std::fabs(a.z - b.z) - kSpacing) < 1e-4;
}

bool sameRingNextColumn(Point a, Point b) {
    const double across = std::hypot(a.x - b.x, a.y - b.y);
    return std::fabs(a.z - b.z) < 1e-5 &&
           std::fabs(across - 2.0 * kRingRadius * std::sin(M_PI / kColumns)) < 1e-4;
}

}  // namespace

TEST_F(SoftStructureTest, CylinderIsOneStructureOf400SpheresAnd780Springs) {
    sandbox->softCylinders.radius = 0.0f;  // the drop writes its drawing parameters every time
    sandbox->softCylinders.slices = 0;
    sandbox->softCylinders.stacks = 0;
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    EXPECT_EQ(tube.size(), kNodes);
    EXPECT_EQ(countBodies(), static_cast<int>(kNodes));
    EXPECT_EQ(sandbox->springs.joints.size(), kSprings);
    EXPECT_EQ(sandbox->softCylinders.radius, 0.3f);
    EXPECT_EQ(sandbox->softCylinders.slices, 4);
    EXPECT_EQ(sandbox->softCylinders.stacks, 4);
    EXPECT_TRUE(allNodesAre(tube, kRadius, 0.5f));
}

TEST_F(SoftStructureTest, CylinderStandsOnItsCircleAroundTheToolFromHeight40Up) {
    moveToolAside();
    press(SDLK_3);

    const Float3 tool = sandbox->toolPosition;
    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    ASSERT_EQ(tube.size(), kNodes);
    EXPECT_TRUE(isNear(at(tube.front()), {tool.x, tool.y + 2.0, 40.0}, 1e-5));
    EXPECT_TRUE(isNear(at(tube[100]), {tool.x + 2.0, tool.y, 40.0}, 1e-5));
    EXPECT_TRUE(isNear(at(tube.back()), {tool.x - 0.618, tool.y + 1.902, 51.4}, 1e-3));
    for (size_t i = 0; i < tube.size(); ++i) {
        const Point p = at(tube[i]);
        const double ring = (p.z - 40.0) / kSpacing;
        EXPECT_NEAR(std::hypot(p.x - tool.x, p.y - tool.y), kRingRadius, 1e-5) << "node " << i;
        EXPECT_NEAR(ring, std::round(ring), 1e-4) << "node " << i;
        EXPECT_TRUE(ring > -0.5 && ring < kRings - 0.5) << "node " << i;
    }
}

TEST_F(SoftStructureTest, CylinderSpringsJoinColumnAndRingNeighboursOnce) {
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    auto neighbours = [](Point a, Point b) {
        return sameColumnNextRing(a, b) || sameRingNextColumn(a, b);
    };
    EXPECT_TRUE(
        joinEachNeighbourPairOnce(springEnds(sandbox->springs.joints, tube), tube, neighbours));
}

TEST_F(SoftStructureTest, CylinderEndRingsHaveThreeSpringsAndEveryOtherNodeFour) {
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    const std::vector<int> count =
        springsPerNode(springEnds(sandbox->springs.joints, tube), tube.size());
    for (size_t i = 0; i < tube.size(); ++i) {
        const double z = at(tube[i]).z;
        const bool endRing = std::fabs(z - 40.0) < 1e-4 || std::fabs(z - kTop) < 1e-4;
        EXPECT_EQ(count[i], endRing ? 3 : 4) << "node " << i;
    }
}

// Around the ring the axis is the circle's tangent at the column that comes
// next in the columns' order, 0 following 19 where the ring closes.
TEST_F(SoftStructureTest, CylinderSpringsPointUpTheColumnsAndAlongTheRingsTangent) {
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    const auto& joints = sandbox->springs.joints;
    const std::vector<SpringEnds> ends = springEnds(joints, tube);
    ASSERT_EQ(ends.size(), kSprings);
    std::vector<dJointID> columnSprings;
    int ringSprings = 0;
    for (size_t i = 0; i < ends.size(); ++i) {
        const int a = columnOf(ends[i].first);
        const int b = columnOf(ends[i].second);
        if (a == b) {
            columnSprings.push_back(joints[i]);
            continue;
        }
        ++ringSprings;
        const int next = (a + 1) % kColumns == b ? b : a;
        const double angle = columnAngle(next);
        EXPECT_TRUE(isNear(axisOf(joints[i]), {std::cos(angle), -std::sin(angle), 0.0}, 1e-5))
            << "spring " << i << " between columns " << a << " and " << b;
    }
    EXPECT_EQ(ringSprings, kColumns * kRings);
    EXPECT_TRUE(pointFromFirstToSecond(columnSprings));
    EXPECT_TRUE(allHaveSettings(joints, {0.0, 0.0, 0.5f, 0.01f, 0.1f, 0.001f}));
}

TEST_F(SoftStructureTest, CylinderMakesEachSpringWithItsNewerNode) {
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    EXPECT_TRUE(followNodeCreation(springEnds(sandbox->springs.joints, tube)));
}

TEST_F(SoftStructureTest, CylinderLandsAndComesToRestWithoutTearing) {
    liftToolAboveTheDrop();
    press(SDLK_3);

    const BodyList& tube = onlyStructure(sandbox->softCylinders);
    EXPECT_TRUE(fallWithoutTearing(5.5, tube, kRadius, 2.0 * kSpacing));
    EXPECT_TRUE(restsOnTheGround(tube, kRadius));
}
