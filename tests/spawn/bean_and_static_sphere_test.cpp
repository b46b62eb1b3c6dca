// The bean and the static sphere: where each is placed (from the first jaw
// and from the tool), what ODE holds for them, and that a static sphere stays
// put while bodies land on it.
#include "support/sandbox_fixture.h"

#include <cmath>

namespace {

constexpr float kBeanRadius = 1.0f;
constexpr float kStaticRadius = 4.0f;
constexpr float kTouchTolerance = 0.05f;  // how far a resting bean may press into what it lies on

float distance(Float3 a, Float3 b) {
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

}  // namespace

TEST_F(SandboxTest, BeanHangsUnderFirstJawTouchingItsLowestPoint) {
    press(SDLK_0);
    ASSERT_EQ(sandbox->beans.bodies.size(), 1u);
    const dBodyID bean = sandbox->beans.bodies[0];
    EXPECT_TRUE(isAt(position(bean), {0.0f, -1.0f, 2.0f}));
    const dReal* velocity = dBodyGetLinearVel(bean);
    EXPECT_EQ(velocity[0], 0.0);
    EXPECT_EQ(velocity[1], 0.0);
    EXPECT_EQ(velocity[2], 0.0);

    dMass mass;
    dBodyGetMass(bean, &mass);
    EXPECT_FLOAT_EQ(mass.mass, 0.5f);
    EXPECT_NEAR(mass.I[0], 0.4 * 0.5 * kBeanRadius * kBeanRadius, 1e-6);  // a solid sphere
    EXPECT_EQ(dBodyGetAutoDisableFlag(bean), 0);  // a bean never sleeps
    EXPECT_EQ(dBodyGetData(bean), nullptr);

    const dGeomID geom = dBodyGetFirstGeom(bean);
    ASSERT_NE(geom, nullptr);
    EXPECT_EQ(dGeomSphereGetRadius(geom), kBeanRadius);
    EXPECT_EQ(sandbox->beans.radius, kBeanRadius);
    EXPECT_EQ(sandbox->beans.slices, 12);
    EXPECT_EQ(sandbox->beans.stacks, 12);
}

TEST_F(SandboxTest, BeanFollowsTheFirstJawThroughSqueezesAndToolMoves) {
    press(SDLK_q);
    press(SDLK_q);
    press(SDLK_0);
    EXPECT_TRUE(isAt(position(sandbox->beans.bodies.at(0)), {0.0f, 0.0f, 2.0f}));

    moveMouse(40, -80);  // tool to x -2, y +1
    click(SDL_BUTTON_WHEELUP);
    click(SDL_BUTTON_WHEELUP);  // and up to 6
    press(SDLK_0);
    EXPECT_TRUE(isAt(position(sandbox->beans.bodies.at(1)), {-2.0f, 1.0f, 3.0f}));
    EXPECT_EQ(countBodies(), 2);
}

TEST_F(SandboxTest, StaticSphereIsABodilessGeomAtTheTool) {
    press(SDLK_q);
    press(SDLK_q);  // the jaws' gap does not matter
    press(SDLK_5);
    ASSERT_EQ(sandbox->staticSpheres.geoms.size(), 1u);
    const dGeomID sphere = sandbox->staticSpheres.geoms[0];
    EXPECT_EQ(dGeomGetBody(sphere), nullptr);
    EXPECT_EQ(dGeomGetClass(sphere), dSphereClass);
    EXPECT_EQ(dGeomSphereGetRadius(sphere), kStaticRadius);
    EXPECT_TRUE(isAt(position(sphere), {0.0f, 0.0f, 5.0f}));
    EXPECT_TRUE(isAt(sandbox->staticSpheres.position, {0.0f, 0.0f, 5.0f}));
    EXPECT_EQ(sandbox->staticSpheres.radius, kStaticRadius);
    EXPECT_EQ(sandbox->staticSpheres.slices, 20);
    EXPECT_EQ(sandbox->staticSpheres.stacks, 20);
    EXPECT_EQ(countBodies(), 0);
}

TEST_F(SandboxTest, StaticSphereStaysWhereTheToolWasWhenAdded) {
    press(SDLK_5);
    press(SDLK_5);
    ASSERT_EQ(sandbox->staticSpheres.geoms.size(), 2u);  // coincident, both recorded
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms[1]), {0.0f, 0.0f, 5.0f}));

    moveMouse(40, -80);
    click(SDL_BUTTON_WHEELUP);
    press(SDLK_e);
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms[0]), {0.0f, 0.0f, 5.0f}));
    EXPECT_TRUE(isAt(sandbox->staticSpheres.position, {0.0f, 0.0f, 5.0f}));

    press(SDLK_5);
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms.at(2)), {-2.0f, 1.0f, 5.5f}));
    EXPECT_TRUE(isAt(sandbox->staticSpheres.position, {-2.0f, 1.0f, 5.5f}));
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms[0]), {0.0f, 0.0f, 5.0f}));
}

TEST_F(SandboxTest, BeanLandsOnAStaticSphereWithoutPushingIt) {
    press(SDLK_5);
    for (int step = 0; step < 20; ++step) click(SDL_BUTTON_WHEELUP);  // tool up to 15
    press(SDLK_0);  // from 12, above the sphere's top at 9
    simulate(3.0);

    const Float3 centre = {0.0f, 0.0f, 5.0f};
    EXPECT_TRUE(isAt(position(sandbox->staticSpheres.geoms.at(0)), centre));
    EXPECT_GE(distance(position(sandbox->beans.bodies.at(0)), centre),
              kStaticRadius + kBeanRadius - kTouchTolerance);
}
