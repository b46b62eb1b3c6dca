// The empty box (key 2): the surface of an 11 × 11 × 11 cubic lattice of
// nodes, every pair of neighbouring surface nodes joined by one spring.
#include "spawn/lattice_checks.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <tuple>

namespace {

constexpr double kSpacing = 1.0;
constexpr double kRadius = 0.5;
constexpr size_t kNodes = 602;
constexpr size_t kSprings = 1200;
constexpr size_t kFaceSprings = 1084;  // the rest join faces along the cube's edges
constexpr int kHalfWidth = 5;          // lattice x and y run from -5 to 5
constexpr int kHeight = 10;            // lattice z runs from 0 to 10

// Where each face's nodes start in the box's list: top, bottom, +y, -y, +x, -x.
constexpr std::array<int, 7> kFaceStarts = {0, 81, 162, 261, 360, 481, 602};

int faceOf(int node) {
    const auto next = std::upper_bound(kFaceStarts.begin(), kFaceStarts.end(), node);
    return static_cast<int>(next - kFaceStarts.begin()) - 1;
}

struct LatticeCoordinates {
    int x, y, z;
    bool exact;
};

// A node's place on the lattice, in spacings from the tool's x and y at
// height 40.
LatticeCoordinates latticeOf(Point p, const Float3& tool) {
    const double x = (p.x - tool.x) / kSpacing;
    const double y = (p.y - tool.y) / kSpacing;
    const double z = (p.z - 40.0) / kSpacing;
    const bool exact = std::fabs(x - std::round(x)) < 1e-4 && std::fabs(y - std::round(y)) < 1e-4 &&
                       std::fabs(z - std::round(z)) < 1e-4;
    return {static_cast<int>(std::round(x)), static_cast<int>(std::round(y)),
            static_cast<int>(std::round(z)), exact};
}

bool oneSpacingApart(Point a, Point b) {
    return std::fabs(distance(a, b) - kSpacing) < 1e-4;
}

}  // namespace

TEST_F(SoftStructureTest, EmptyBoxIsOneStructureOf602SpheresAnd1200Springs) {
    sandbox->emptyBoxes.radius = 0.0f;  // the drop writes its drawing parameters every time
    sandbox->emptyBoxes.slices = 0;
    sandbox->emptyBoxes.stacks = 0;
    press(SDLK_2);

    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    EXPECT_EQ(box.size(), kNodes);
    EXPECT_EQ(countBodies(), static_cast<int>(kNodes));
    EXPECT_EQ(sandbox->springs.joints.size(), kSprings);
    EXPECT_EQ(sandbox->emptyBoxes.radius, 0.5f);
    EXPECT_EQ(sandbox->emptyBoxes.slices, 4);
    EXPECT_EQ(sandbox->emptyBoxes.stacks, 4);
    EXPECT_TRUE(allNodesAre(box, kRadius, 0.5f));
    EXPECT_TRUE(allJoinNodesOfTheStructure(springEnds(sandbox->springs.joints, box)));
}

TEST_F(SoftStructureTest, SecondEmptyBoxIsASeparateStructureOverlappingTheFirst) {
    press(SDLK_2);
    press(SDLK_2);

    ASSERT_EQ(sandbox->emptyBoxes.structures.size(), 2u);
    const BodyList& first = sandbox->emptyBoxes.structures[0];
    const BodyList& second = sandbox->emptyBoxes.structures[1];
    ASSERT_EQ(second.size(), kNodes);
    for (size_t i = 0; i < kNodes; ++i) {
        EXPECT_NE(first[i], second[i]);
        EXPECT_TRUE(isNear(at(second[i]), at(first[i]), 0.0)) << "node " << i;
    }
    const auto& joints = sandbox->springs.joints;
    ASSERT_EQ(joints.size(), 2 * kSprings);
    EXPECT_TRUE(allJoinNodesOfTheStructure(springEnds(joints, 0, kSprings, first)));
    EXPECT_TRUE(allJoinNodesOfTheStructure(springEnds(joints, kSprings, kSprings, second)));
}

TEST_F(SoftStructureTest, EmptyBoxIsTheCubeSurfaceAroundTheToolFromHeight40Up) {
    moveToolAside();
    press(SDLK_2);

    const Float3 tool = sandbox->toolPosition;
    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    ASSERT_EQ(box.size(), kNodes);
    EXPECT_TRUE(isNear(at(box.front()), {tool.x + 4.0, tool.y - 4.0, 50.0}, 1e-5));
    EXPECT_TRUE(isNear(at(box.back()), {tool.x - 5.0, tool.y + 5.0, 50.0}, 1e-5));

    // 602 distinct surface points are all of them: none inside, none missing.
    std::set<std::tuple<int, int, int>> points;
    for (size_t i = 0; i < box.size(); ++i) {
        const LatticeCoordinates c = latticeOf(at(box[i]), tool);
        const bool inCube = std::abs(c.x) <= kHalfWidth && std::abs(c.y) <= kHalfWidth &&
                            c.z >= 0 && c.z <= kHeight;
        const bool onSurface = std::abs(c.x) == kHalfWidth || std::abs(c.y) == kHalfWidth ||
                               c.z == 0 || c.z == kHeight;
        EXPECT_TRUE(c.exact && inCube && onSurface)
            << "node " << i << " at lattice (" << c.x << ", " << c.y << ", " << c.z << ")";
        points.insert({c.x, c.y, c.z});
    }
    EXPECT_EQ(points.size(), kNodes);
}

TEST_F(SoftStructureTest, EmptyBoxSpringsJoinEachSurfaceNeighbourOnce) {
    press(SDLK_2);

    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    EXPECT_TRUE(
        joinEachNeighbourPairOnce(springEnds(sandbox->springs.joints, box), box, oneSpacingApart));
}

TEST_F(SoftStructureTest, EmptyBoxCornersHaveThreeSpringsAndEveryOtherNodeFour) {
    press(SDLK_2);

    const Float3 tool = sandbox->toolPosition;
    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    const std::vector<int> count =
        springsPerNode(springEnds(sandbox->springs.joints, box), box.size());
    int corners = 0;
    for (size_t i = 0; i < box.size(); ++i) {
        const LatticeCoordinates c = latticeOf(at(box[i]), tool);
        const bool corner = std::abs(c.x) == kHalfWidth && std::abs(c.y) == kHalfWidth &&
                            (c.z == 0 || c.z == kHeight);
        corners += corner;
        EXPECT_EQ(count[i], corner ? 3 : 4) << "node " << i;
    }
    EXPECT_EQ(corners, 8);
}

TEST_F(SoftStructureTest, EmptyBoxSpringsPointFromFirstToSecondNodeAndMayOnlyShorten) {
    press(SDLK_2);

    const auto& springs = sandbox->springs.joints;
    EXPECT_TRUE(pointFromFirstToSecond(springs));
    EXPECT_TRUE(allHaveSettings(springs, {0.0, 1.0f, 0.0, 0.0, 0.8f, 0.0}));
}

TEST_F(SoftStructureTest, EmptyBoxMakesSpringsFaceByFaceAndThenTheSeams) {
    press(SDLK_2);

    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    const auto& joints = sandbox->springs.joints;
    const std::vector<SpringEnds> inFaces = springEnds(joints, 0, kFaceSprings, box);
    const std::vector<SpringEnds> seams =
        springEnds(joints, kFaceSprings, kSprings - kFaceSprings, box);
    ASSERT_EQ(seams.size(), kSprings - kFaceSprings);

    EXPECT_TRUE(followNodeCreation(inFaces));
    for (size_t i = 0; i < inFaces.size(); ++i) {
        EXPECT_EQ(faceOf(inFaces[i].first), faceOf(inFaces[i].second)) << "spring " << i;
    }
    for (size_t i = 0; i < seams.size(); ++i) {
        EXPECT_NE(faceOf(seams[i].first), faceOf(seams[i].second)) << "seam spring " << i;
    }
}

TEST_F(SoftStructureTest, EmptyBoxLandsAndComesToRestWithoutTearing) {
    liftToolAboveTheDrop();
    press(SDLK_2);

    const BodyList& box = onlyStructure(sandbox->emptyBoxes);
    EXPECT_TRUE(fallWithoutTearing(5.0, box, kRadius, 2.0 * kSpacing));
    EXPECT_TRUE(restsOnTheGround(box, kRadius));
}
