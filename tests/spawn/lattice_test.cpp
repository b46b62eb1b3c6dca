// The soft structures: every node where the lattice puts it and in the
// order the blocks make them; every spring between the right two nodes, in
// creation order, along its axis and with its kind's six settings.
#include "support/sandbox_fixture.h"

#include <cmath>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

struct Spring {
    int first, second;
    bool operator==(const Spring& o) const { return first == o.first && second == o.second; }
};

// A block of outer x inner nodes starting at list index `base`: after each
// node come its springs from the node before it along the outer index, then
// along the inner one, then (for a ring) the one that closes the ring.
void blockSprings(std::vector<Spring>& springs, int base, int outer, int inner,
                  bool closesRing = false) {
    for (int o = 0; o < outer; ++o) {
        for (int n = 0; n < inner; ++n) {
            const int node = base + inner * o + n;
            if (o > 0) springs.push_back({node - inner, node});
            if (n > 0) springs.push_back({node - 1, node});
            if (closesRing && o == outer - 1) springs.push_back({base + n, node});
        }
    }
}

// A face of the empty box in lattice units: node (o, n) at corner + o·outer
// + n·inner.
struct Face {
    int base;
    double corner[3], outer[3], inner[3];
    int outerCount, innerCount;
};

const Face kFaces[] = {
    {0, {4, -4, 10}, {-1, 0, 0}, {0, 1, 0}, 9, 9},     // top
    {81, {4, -4, 0}, {-1, 0, 0}, {0, 1, 0}, 9, 9},     // bottom
    {162, {4, 5, 0}, {0, 0, 1}, {-1, 0, 0}, 11, 9},    // +y wall
    {261, {4, -5, 0}, {0, 0, 1}, {-1, 0, 0}, 11, 9},   // -y wall
    {360, {5, -5, 0}, {0, 0, 1}, {0, 1, 0}, 11, 11},   // +x wall
    {481, {-5, -5, 0}, {0, 0, 1}, {0, 1, 0}, 11, 11},  // -x wall
};

// The seams along the cube's edges, after all faces: spring k joins node
// first + k·firstStep to node second + k·secondStep.
struct Seam {
    int first, firstStep, second, secondStep, count;
};

const Seam kSeams[] = {
    {81, 1, 361, 1, 9},   {153, 1, 482, 1, 9},  {89, 9, 162, 1, 9},    {81, 9, 261, 1, 9},
    {0, 1, 471, 1, 9},    {72, 1, 592, 1, 9},   {8, 9, 252, 1, 9},     {0, 9, 351, 1, 9},
    {360, 11, 261, 9, 11}, {370, 11, 162, 9, 11}, {481, 11, 269, 9, 11}, {491, 11, 170, 9, 11},
};

struct Structure {
    const char* name;
    SDLKey key;
    std::function<const StructureGroup&(const Sandbox&)> group;
    std::function<std::vector<Float3>(Float3 tool)> nodes;
    std::function<std::vector<Spring>()> springs;
    double settings[6];  // lo stop, hi stop, bounce, CFM, stop ERP, stop CFM
};

Float3 at(Float3 tool, double x, double y, double z) {
    return {static_cast<float>(tool.x + x), static_cast<float>(tool.y + y),
            static_cast<float>(40.0 + z)};
}

constexpr double kFullTurn = 6.2831854820251465;  // 2π as a float, widened

double columnAngle(int column) {
    return column * kFullTurn / 20;
}

const Structure kStructures[] = {
    {"EmptyBox", SDLK_2, [](const Sandbox& s) -> const StructureGroup& { return s.emptyBoxes; },
     [](Float3 tool) {
         std::vector<Float3> nodes;
         for (const Face& f : kFaces) {
             for (int o = 0; o < f.outerCount; ++o) {
                 for (int n = 0; n < f.innerCount; ++n) {
                     double p[3];
                     for (int a = 0; a < 3; ++a) p[a] = f.corner[a] + o * f.outer[a] + n * f.inner[a];
                     nodes.push_back(at(tool, p[0], p[1], p[2]));
                 }
             }
         }
         return nodes;
     },
     [] {
         std::vector<Spring> springs;
         for (const Face& f : kFaces) blockSprings(springs, f.base, f.outerCount, f.innerCount);
         for (const Seam& s : kSeams) {
             for (int k = 0; k < s.count; ++k) {
                 springs.push_back({s.first + k * s.firstStep, s.second + k * s.secondStep});
             }
         }
         return springs;
     },
     {0, 1.0, 0, 0, 0.8, 0}},
    {"Cylinder", SDLK_3, [](const Sandbox& s) -> const StructureGroup& { return s.softCylinders; },
     [](Float3 tool) {
         std::vector<Float3> nodes;
         for (int i = 0; i < 20; ++i) {
             for (int j = 0; j < 20; ++j) {
                 const double a = columnAngle(i);
                 nodes.push_back(at(tool, 2.0 * std::sin(a), 2.0 * std::cos(a), j * (2.0 * 0.3f)));
             }
         }
         return nodes;
     },
     [] {
         std::vector<Spring> springs;
         blockSprings(springs, 0, 20, 20, true);
         return springs;
     },
     {0, 0, 0.5, 0.01, 0.1, 0.001}},
    {"Cloth", SDLK_4, [](const Sandbox& s) -> const StructureGroup& { return s.cloths; },
     [](Float3 tool) {
         std::vector<Float3> nodes;
         const double s = 2.0 * 0.6f;
         for (int i = 0; i < 29; ++i) {
             for (int j = 0; j < 29; ++j) nodes.push_back(at(tool, (14 - i) * s, (j - 14) * s, 0));
         }
         return nodes;
     },
     [] {
         std::vector<Spring> springs;
         blockSprings(springs, 0, 29, 29);
         return springs;
     },
     {0, 0, 0, 0.01, 0.5, 0.01}},
};

// The axis runs from the first node to the second in the rest shape; the
// cylinder's ring springs instead follow the circle's tangent at the second
// node, and the ring-closing ones its tangent at column 0.
Float3 expectedAxis(const Structure& s, const std::vector<Float3>& nodes, Spring spring) {
    if (s.key == SDLK_3 && spring.second - spring.first != 1) {
        const double a = spring.second - spring.first == 380 ? 0.0 : columnAngle(spring.second / 20);
        return {static_cast<float>(std::cos(a)), static_cast<float>(-std::sin(a)), 0};
    }
    const Float3 p = nodes[spring.first], q = nodes[spring.second];
    const float d = std::hypot(q.x - p.x, q.y - p.y, q.z - p.z);
    return {(q.x - p.x) / d, (q.y - p.y) / d, (q.z - p.z) / d};
}

class LatticeTest : public SandboxTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(LatticeTest, NodesAndSpringsFollowTheLatticeInCreationOrder) {
    const Structure& s = kStructures[GetParam()];
    // Away from the origin and low: the base height stays 40 whatever the tool's.
    send({motionEvent(13, 7), buttonEvent(SDL_BUTTON_WHEELDOWN, true)});
    tap(SDLK_0);  // a body made earlier does not shift the structure's indices
    tap(s.key);

    const std::vector<Float3> nodes = s.nodes(sandbox->toolPosition);
    const BodyList& made = s.group(*sandbox).structures.at(0);
    ASSERT_EQ(made.size(), nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        ASSERT_TRUE(isAt(position(made[i]), nodes[i], 0)) << "node " << i;
    }

    const std::vector<Spring> springs = s.springs();
    const std::vector<dJointID>& joints = sandbox->springs.joints;
    ASSERT_EQ(joints.size(), springs.size());
    auto indexOf = [&](dBodyID body) { return int(std::find(made.begin(), made.end(), body) - made.begin()); };
    const int params[] = {dParamLoStop, dParamHiStop, dParamBounce,
                                  dParamCFM,    dParamStopERP, dParamStopCFM};
    for (size_t i = 0; i < springs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "spring " << i);
        const dJointID joint = joints[i];
        ASSERT_EQ(dJointGetType(joint), dJointTypeSlider);
        ASSERT_EQ((Spring{indexOf(dJointGetBody(joint, 0)), indexOf(dJointGetBody(joint, 1))}),
                  springs[i]);
        dVector3 axis;
        dJointGetSliderAxis(joint, axis);
        ASSERT_TRUE(isAt(toFloat3(axis), expectedAxis(s, nodes, springs[i])));
        ASSERT_NEAR(dJointGetSliderPosition(joint), 0, 1e-6);
        for (int p = 0; p < 6; ++p) ASSERT_FLOAT_EQ(dJointGetSliderParam(joint, params[p]), s.settings[p]);
    }
}

INSTANTIATE_TEST_SUITE_P(EverySoftStructure, LatticeTest, ::testing::Range(0, 3),
                         [](const auto& info) { return kStructures[info.param].name; });

using SpringListTest = SandboxTest;

// Springs go to one list in creation order, structure after structure.
TEST_F(SpringListTest, SpringsOfSeveralStructuresFollowEachOtherInDropOrder) {
    for (SDLKey key : {SDLK_2, SDLK_3, SDLK_4, SDLK_2}) tap(key);
    const std::vector<dJointID>& joints = sandbox->springs.joints;
    ASSERT_EQ(joints.size(), 1200u + 780 + 1624 + 1200);
    EXPECT_EQ(dJointGetBody(joints[1200], 0), sandbox->softCylinders.structures.at(0)[0]);
    EXPECT_EQ(dJointGetBody(joints[1980], 0), sandbox->cloths.structures.at(0)[0]);
    EXPECT_EQ(dJointGetBody(joints.back(), 1), sandbox->emptyBoxes.structures.at(1)[260]);
}
