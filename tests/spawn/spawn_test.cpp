// Every kind of object a user can make, as the solver and the collision
// test see it: how many bodies, their shapes, masses and sleep settings,
// and the drawing parameters written with them; where the rigid pieces,
// beans and static spheres start.
#include "support/sandbox_fixture.h"

#include <functional>
#include <vector>

namespace {

using Params = std::vector<double>;

struct Kind {
    const char* name;
    SDLKey key;     // or, when 0, the mouse button
    Uint8 button;
    int bodies;
    Params shape;  // sphere radius, box sides, or capsule radius and length
    std::function<void(dMass*)> mass;
    bool sleeps;  // auto-disable
    std::function<BodyList(const Sandbox&)> made;
    std::function<Params(const Sandbox&)> drawing;
    Params drawn;  // radius or sides, then length, slices and stacks
};

template <typename Group>
Params sphereDrawing(const Group& g) {
    return {g.radius, double(g.slices), double(g.stacks)};
}

const Kind kKinds[] = {
    {"SphereBlock", SDLK_1, 0, 729, {0.25}, [](dMass* m) { dMassSetSphereTotal(m, 1e-7f, 0.25); },
     true, [](const Sandbox& s) { return s.sphereBoxes.structures.at(0); },
     [](const Sandbox& s) { return sphereDrawing(s.sphereBoxes); }, {0.25, 4, 4}},
    {"BoxBlock", SDLK_6, 0, 729, {2, 2, 2}, [](dMass* m) { dMassSetBoxTotal(m, 1e-7f, 2, 2, 2); },
     true, [](const Sandbox& s) { return s.boxBoxes.structures.at(0); },
     [](const Sandbox& s) { return Params{s.boxBoxes.sides.x, s.boxBoxes.sides.y, s.boxBoxes.sides.z}; },
     {2, 2, 2}},
    {"EmptyBox", SDLK_2, 0, 602, {0.5}, [](dMass* m) { dMassSetSphereTotal(m, 0.5, 0.5); }, false,
     [](const Sandbox& s) { return s.emptyBoxes.structures.at(0); },
     [](const Sandbox& s) { return sphereDrawing(s.emptyBoxes); }, {0.5, 4, 4}},
    {"Cylinder", SDLK_3, 0, 400, {0.3f}, [](dMass* m) { dMassSetSphereTotal(m, 0.5, 0.3f); },
     false, [](const Sandbox& s) { return s.softCylinders.structures.at(0); },
     [](const Sandbox& s) { return sphereDrawing(s.softCylinders); }, {0.3f, 4, 4}},
    {"Cloth", SDLK_4, 0, 841, {0.6f}, [](dMass* m) { dMassSetSphereTotal(m, 5e-7f, 0.6f); },
     false, [](const Sandbox& s) { return s.cloths.structures.at(0); },
     [](const Sandbox& s) { return sphereDrawing(s.cloths); }, {0.6f, 4, 4}},
    {"Bean", SDLK_0, 0, 1, {1}, [](dMass* m) { dMassSetSphereTotal(m, 0.5, 1); }, false,
     [](const Sandbox& s) { return s.beans.bodies; },
     [](const Sandbox& s) { return sphereDrawing(s.beans); }, {1, 12, 12}},
    {"Ball", SDLK_UNKNOWN, SDL_BUTTON_LEFT, 1, {1.5},
     [](dMass* m) { dMassSetSphereTotal(m, 50, 1.5); }, false,
     [](const Sandbox& s) { return s.balls.bodies; },
     [](const Sandbox& s) { return sphereDrawing(s.balls); }, {1.5, 15, 15}},
    {"Sweeper", SDLK_UNKNOWN, SDL_BUTTON_RIGHT, 1, {1, 10},
     [](dMass* m) { dMassSetCapsuleTotal(m, 50, 3, 1, 10); }, false,
     [](const Sandbox& s) { return s.shotCylinders.bodies; },
     [](const Sandbox& s) {
         const CylinderGroup& c = s.shotCylinders;
         return Params{c.radius, c.length, double(c.slices), double(c.stacks)};
     },
     {1, 10, 10, 10}},
};

Params shapeOf(dGeomID geom) {
    dVector3 sides;
    dReal radius, length;
    switch (dGeomGetClass(geom)) {
        case dSphereClass: return {dGeomSphereGetRadius(geom)};
        case dBoxClass: dGeomBoxGetLengths(geom, sides); return {sides[0], sides[1], sides[2]};
        case dCapsuleClass: dGeomCapsuleGetParams(geom, &radius, &length); return {radius, length};
        default: return {};
    }
}

class SpawnTest : public SandboxTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(SpawnTest, MakesItsBodiesAsTheSolverSeesThem) {
    const Kind& kind = kKinds[GetParam()];
    if (kind.key != SDLK_UNKNOWN) tap(kind.key);
    else click(kind.button);

    EXPECT_EQ(kind.drawing(*sandbox), kind.drawn);
    const BodyList bodies = kind.made(*sandbox);
    ASSERT_EQ(bodies.size(), size_t(kind.bodies));
    ASSERT_EQ(dSpaceGetNumGeoms(sandbox->space), kind.bodies + 3);
    dMass expected;
    kind.mass(&expected);
    for (dBodyID body : bodies) {
        dMass mass;
        dBodyGetMass(body, &mass);
        ASSERT_FLOAT_EQ(mass.mass, expected.mass);
        for (int i : {0, 5, 10}) ASSERT_FLOAT_EQ(mass.I[i], expected.I[i]);
        ASSERT_EQ(dBodyGetAutoDisableFlag(body), kind.sleeps);
        ASSERT_EQ(dBodyGetData(body), nullptr);
        ASSERT_EQ(dBodyGetWorld(body), sandbox->world);
        const dGeomID geom = dBodyGetFirstGeom(body);
        ASSERT_EQ(dGeomGetSpace(geom), sandbox->space);
        ASSERT_EQ(shapeOf(geom), kind.shape);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SpawnTest, ::testing::Range(0, 8),
                         [](const auto& info) { return kKinds[info.param].name; });

using RigidDropTest = SandboxTest;

// Piece (i, j, k) of a block stands at first + (-j, k, i) spacings: rows
// towards -x, along a row towards +y, layers upwards, the list bottom layer
// first. Positions are worked out in double precision and kept as floats.
TEST_F(RigidDropTest, BlocksStandOnTheirGridAtFixedHeightsAroundTheTool) {
    send({motionEvent(13, 7), buttonEvent(SDL_BUTTON_WHEELDOWN, true)});
    tap(SDLK_1);
    tap(SDLK_6);
    const Float3 tool = sandbox->toolPosition;
    struct Block {
        BodyList pieces;
        double reach, spacing, base;  // first piece's offset from the tool; its height
    };
    const Block blocks[] = {{sandbox->sphereBoxes.structures.at(0), 2.0, 0.5, 40},
                            {sandbox->boxBoxes.structures.at(0), 8.0, 2.0 + 0.1, 60}};
    for (const Block& block : blocks) {
        const float x0 = static_cast<float>(tool.x + block.reach);
        const float y0 = static_cast<float>(tool.y - block.reach);
        auto piece = block.pieces.begin();
        for (int i = 0; i < 9; ++i) {
            for (int j = 0; j < 9; ++j) {
                for (int k = 0; k < 9; ++k) {
                    const Float3 expected = {static_cast<float>(x0 - j * block.spacing),
                                             static_cast<float>(y0 + k * block.spacing),
                                             static_cast<float>(block.base + i * block.spacing)};
                    ASSERT_TRUE(isAt(position(*piece++), expected, 0)) << i << ", " << j << ", " << k;
                }
            }
        }
    }
}

using BeanAndStaticSphereTest = SandboxTest;

// The bean hangs from the first jaw, its top at the jaw's lowest point; the
// static sphere takes the tool's place at the moment of the press.
TEST_F(BeanAndStaticSphereTest, BeanDropsFromUnderTheFirstJawAndStaticSpheresStayAtTheTool) {
    tap(SDLK_0);
    EXPECT_TRUE(isAt(position(sandbox->beans.bodies.at(0)), {0, -1, 2}, 0));
    for (SDLKey key : {SDLK_q, SDLK_q}) tap(key);
    send({motionEvent(13, 7), buttonEvent(SDL_BUTTON_WHEELUP, true)});
    tap(SDLK_0);
    const Float3 tool = sandbox->toolPosition;
    EXPECT_TRUE(isAt(position(sandbox->beans.bodies.at(1)), {tool.x, tool.y, 2.5f}));

    tap(SDLK_5);
    tap(SDLK_5);
    send({motionEvent(80, 80)});
    ASSERT_EQ(sandbox->staticSpheres.geoms.size(), 2u);
    for (dGeomID sphere : sandbox->staticSpheres.geoms) {
        EXPECT_TRUE(isAt(position(sphere), tool, 0));
        EXPECT_EQ(dGeomGetBody(sphere), nullptr);
        EXPECT_EQ(shapeOf(sphere), Params{4});
    }
    EXPECT_TRUE(isAt(sandbox->staticSpheres.position, tool, 0));
    const GeomList& s = sandbox->staticSpheres;
    EXPECT_EQ(Params({s.radius, double(s.slices), double(s.stacks)}), Params({4, 20, 20}));
    simulate(0.5);  // the spheres never move
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms[1]), tool, 0));
}
