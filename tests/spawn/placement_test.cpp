// Where the drops put what they make: the rigid pieces, beans and static spheres around the tool in
// double precision, and each soft structure's nodes, joined by springs in creation order, along
// their axes, at rest.
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>

namespace {

using Spring = std::pair<int, int>;  // first node, second node

// The springs of a block of outer x inner nodes from list index `base`: after each node, the one
// from the node before it along o, then along n, then for a ring the one closing it.
void addBlock(std::vector<Spring>& springs, int base, int outer, int inner, bool ring = false) {
    for (int o = 0, node = base; o < outer; ++o) {
        for (int n = 0; n < inner; ++n, ++node) {
            if (o > 0) springs.push_back({node - inner, node});
            if (n > 0) springs.push_back({node - 1, node});
            if (ring && o == outer - 1) springs.push_back({base + n, node});
        }
    }
}

// The empty box's springs: its six faces as blocks, then the seams along the cube's edges, spring k
// of a seam joining node a + k·da to node b + k·db.
std::vector<Spring> emptyBoxSprings() {
    std::vector<Spring> springs;
    for (int face = 0, base = 0; face < 6;
         base += (face < 2 ? 9 : 11) * (face < 4 ? 9 : 11), ++face) {
        addBlock(springs, base, face < 2 ? 9 : 11, face < 4 ? 9 : 11);
    }
    const int seams[][5] = {{81, 1, 361, 1, 9},    {153, 1, 482, 1, 9},   {89, 9, 162, 1, 9},
                            {81, 9, 261, 1, 9},    {0, 1, 471, 1, 9},     {72, 1, 592, 1, 9},
                            {8, 9, 252, 1, 9},     {0, 9, 351, 1, 9},     {360, 11, 261, 9, 11},
                            {370, 11, 162, 9, 11}, {481, 11, 269, 9, 11}, {491, 11, 170, 9, 11}};
    for (const auto& m : seams)
        for (int k = 0; k < m[4]; ++k) springs.push_back({m[0] + k * m[1], m[2] + k * m[3]});
    return springs;
}

constexpr double kTurn = 6.2831854820251465, kCylinderRise = 2.0 * 0.3f,
                 kClothSpacing = 2.0 * 0.6f;  // 2π as a float

const struct Structure {
    const char* name;
    SDLKey key;
    StructureGroup Sandbox::*group;
    double spacing;
    int side;                  // nodes along each side of the one block, or 0 for the box
    double first[3], last[3];  // x and y from the tool's
} kStructures[] = {
    {"EmptyBox", SDLK_2, &Sandbox::emptyBoxes, 1.0, 0, {4, -4, 50}, {-5, 5, 50}},
    {"Cylinder",
     SDLK_3,
     &Sandbox::softCylinders,
     kCylinderRise,
     20,
     {0, 2, 40},
     {2 * std::sin(19 * kTurn / 20), 2 * std::cos(19 * kTurn / 20), 40 + 19 * kCylinderRise}},
    {"Cloth",
     SDLK_4,
     &Sandbox::cloths,
     kClothSpacing,
     29,
     {14 * kClothSpacing, -14 * kClothSpacing, 40},
     {-14 * kClothSpacing, 14 * kClothSpacing, 40}},
};

class LatticeTest : public SandboxTest, public ::testing::WithParamInterface<int> {};

}  // namespace

// A spring joins lattice neighbours one spacing apart, along the line from the first to the second;
// the cylinder's ring springs join neighbouring columns along the circle's tangent at the second
// (at column 0 for the closing ones).
TEST_P(LatticeTest, NodesAreJoinedInCreationOrderAlongTheirAxesAtRest) {
    const Structure& s = kStructures[GetParam()];
    // Off the origin and low (the base height stays 40); the bean before it shifts no index of its
    // own.
    send({event(SDL_MOUSEMOTION, 13, 7), event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN),
          event(SDL_KEYDOWN, SDLK_0), event(SDL_KEYDOWN, s.key)});
    const Float3 tool = sandbox->toolPosition;
    const BodyList& nodes = (sandbox.get()->*s.group).structures.at(0);
    for (auto [node, at] : {std::pair{nodes.front(), s.first}, {nodes.back(), s.last}}) {
        EXPECT_TRUE(
            isAt(position(node), {float(tool.x + at[0]), float(tool.y + at[1]), float(at[2])}, 0));
    }
    std::vector<Spring> springs = s.side ? std::vector<Spring>() : emptyBoxSprings();
    if (s.side) addBlock(springs, 0, s.side, s.side, s.key == SDLK_3);
    const std::vector<dJointID>& joints = sandbox->springs.joints;
    ASSERT_EQ(joints.size(), springs.size());
    auto index = [&](dJointID j, int end) {
        return int(std::find(nodes.begin(), nodes.end(), dJointGetBody(j, end)) - nodes.begin());
    };
    for (size_t i = 0; i < joints.size(); ++i) {
        const auto [first, second] = springs[i];
        ASSERT_EQ(Spring(index(joints[i], 0), index(joints[i], 1)), springs[i]) << "spring " << i;
        const Float3 p = position(nodes[first]), q = position(nodes[second]);
        Float3 axis = {q.x - p.x, q.y - p.y, q.z - p.z};
        const float length = std::hypot(axis.x, axis.y, axis.z);
        const bool ring = s.key == SDLK_3 && second - first != 1;
        const double angle = second - first == 380 ? 0 : second / 20 * kTurn / 20;
        ASSERT_NEAR(length, ring ? 4 * std::sin(M_PI / 20) : s.spacing, 1e-4) << "spring " << i;
        axis = ring ? Float3{float(std::cos(angle)), float(-std::sin(angle)), 0}
                    : Float3{axis.x / length, axis.y / length, axis.z / length};
        dVector3 actual;
        dJointGetSliderAxis(joints[i], actual);
        ASSERT_TRUE(isAt(toFloat3(actual), axis) &&
                    std::abs(dJointGetSliderPosition(joints[i])) < 1e-6)
            << "spring " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(EverySoftStructure, LatticeTest, ::testing::Range(0, 3),
                         [](auto& info) { return kStructures[info.param].name; });

using PlacementTest = SandboxTest;

// Piece (i, j, k) of a block stands at the first + (-j, k, i) spacings, the list bottom layer
// first; worked out in double precision. A bean hangs from the first jaw, its top at the jaw's
// lowest point; a static sphere takes the tool's place at the press.
TEST_F(PlacementTest, BlocksBeansAndStaticSpheresStartWhereTheToolPutsThem) {
    send({event(SDL_MOUSEMOTION, 13, 7), event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN),
          event(SDL_KEYDOWN, SDLK_1), event(SDL_KEYDOWN, SDLK_6), event(SDL_KEYDOWN, SDLK_5),
          event(SDL_KEYDOWN, SDLK_5), event(SDL_KEYDOWN, SDLK_q), event(SDL_KEYDOWN, SDLK_q),
          event(SDL_KEYDOWN, SDLK_0), event(SDL_MOUSEMOTION, 80, 80)});
    const Float3 tool = {0.175f, 0.325f, 4.5f};
    const struct {
        const BodyList& pieces;
        double reach, spacing, base;  // the first piece's offset from the tool, and its height
    } blocks[] = {{sandbox->sphereBoxes.structures.at(0), 2.0, 0.5, 40},
                  {sandbox->boxBoxes.structures.at(0), 8.0, 2.0 + 0.1, 60}};
    for (const auto& block : blocks) {
        const float x0 = float(tool.x + block.reach), y0 = float(tool.y - block.reach);
        auto piece = block.pieces.begin();
        for (int i = 0; i < 9; ++i) {
            for (int j = 0; j < 9; ++j) {
                for (int k = 0; k < 9; ++k) {
                    const Float3 at = {float(x0 - j * block.spacing), float(y0 + k * block.spacing),
                                       float(block.base + i * block.spacing)};
                    ASSERT_TRUE(isAt(position(*piece++), at, 0));
                }
            }
        }
    }
    EXPECT_TRUE(isAt(position(sandbox->beans.bodies.at(0)), {tool.x, tool.y, 1.5f}));
    EXPECT_TRUE(isAt(sandbox->staticSpheres.position, tool, 0));
    for (dGeomID sphere : sandbox->staticSpheres.geoms)
        EXPECT_TRUE(isAt(position(sphere), tool, 0) && !dGeomGetBody(sphere));
    EXPECT_TRUE(sandbox->staticSpheres.geoms.size() == 2 &&
                dGeomSphereGetRadius(sandbox->staticSpheres.geoms[0]) == 4);
}
