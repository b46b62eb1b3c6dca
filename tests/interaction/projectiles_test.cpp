// The two projectiles: where each starts relative to the tool and the jaws,
// how it is turned and how fast it flies, what ODE holds for its body, and
// which mouse events fire one.
#include "support/sandbox_fixture.h"

#include <cmath>

namespace {

constexpr float kProjectileMass = 50.0f;
constexpr int kBodyX = 0;
constexpr int kBodyY = 1;
constexpr int kBodyZ = 2;

// Whether the body's own axis points along `expected`
// in the world: a column of ODE's 3x4 rotation matrix.
::testing::AssertionResult hasAxis(dBodyID body, int axis, Float3 expected) {
    const dReal* R = dBodyGetRotation(body);
    const dReal column[3] = {R[axis], R[4 + axis], R[8 + axis]};
    return isAt(toFloat3(column), expected);
}

// Projectiles are heavy, never sleep and carry no user data.
void expectPlainHeavyBody(dBodyID body) {
    dMass mass;
    dBodyGetMass(body, &mass);
    EXPECT_FLOAT_EQ(mass.mass, kProjectileMass);
    EXPECT_EQ(dBodyGetAutoDisableFlag(body), 0);
    EXPECT_EQ(dBodyGetData(body), nullptr);
}

}  // namespace

TEST_F(SandboxTest, BallStartsBesideFirstJawAndFliesAlongMinusX) {
    click(SDL_BUTTON_LEFT);
    ASSERT_EQ(sandbox->balls.bodies.size(), 1u);
    const dBodyID ball = sandbox->balls.bodies[0];

    EXPECT_TRUE(isAt(position(ball), {-2.0f, -1.0f, 7.0f}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetLinearVel(ball)), {-40.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetAngularVel(ball)), {0.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(hasAxis(ball, kBodyX, {1.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(hasAxis(ball, kBodyY, {0.0f, 1.0f, 0.0f}));
    EXPECT_TRUE(hasAxis(ball, kBodyZ, {0.0f, 0.0f, 1.0f}));
    expectPlainHeavyBody(ball);

    dMass mass;
    dBodyGetMass(ball, &mass);
    EXPECT_NEAR(mass.I[0], 0.4 * 50.0 * 1.5 * 1.5, 1e-3);  // a solid sphere

    const dGeomID geom = dBodyGetFirstGeom(ball);
    ASSERT_NE(geom, nullptr);
    EXPECT_EQ(dGeomGetClass(geom), dSphereClass);
    EXPECT_EQ(dGeomSphereGetRadius(geom), 1.5);
    EXPECT_EQ(sandbox->balls.radius, 1.5f);
    EXPECT_EQ(sandbox->balls.slices, 15);
    EXPECT_EQ(sandbox->balls.stacks, 15);
}

TEST_F(SandboxTest, CylinderStartsBehindToolLyingAlongYAndFliesAlongMinusX) {
    click(SDL_BUTTON_RIGHT);
    ASSERT_EQ(sandbox->shotCylinders.bodies.size(), 1u);
    const dBodyID sweeper = sandbox->shotCylinders.bodies[0];

    EXPECT_TRUE(isAt(position(sweeper), {-3.0f, -5.0f, 6.0f}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetLinearVel(sweeper)), {-100.0f, 0.0f, 0.0f}));
    // The body's z axis is the capsule's own axis: it lies along world y.
    EXPECT_TRUE(hasAxis(sweeper, kBodyX, {-1.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(hasAxis(sweeper, kBodyY, {0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(hasAxis(sweeper, kBodyZ, {0.0f, 1.0f, 0.0f}));
    expectPlainHeavyBody(sweeper);

    // The mass is spread along the capsule's axis: it turns most easily
    // about that axis, the body's z.
    dMass mass;
    dBodyGetMass(sweeper, &mass);
    EXPECT_LT(mass.I[10], mass.I[0]);
    EXPECT_NEAR(mass.I[0], mass.I[5], 1e-6);

    const dGeomID geom = dBodyGetFirstGeom(sweeper);
    ASSERT_NE(geom, nullptr);
    ASSERT_EQ(dGeomGetClass(geom), dCapsuleClass);
    dReal radius = 0;
    dReal length = 0;
    dGeomCapsuleGetParams(geom, &radius, &length);
    EXPECT_EQ(radius, 1.0);
    EXPECT_EQ(length, 10.0);
    EXPECT_EQ(sandbox->shotCylinders.radius, 1.0f);
    EXPECT_EQ(sandbox->shotCylinders.length, 10.0f);
    EXPECT_EQ(sandbox->shotCylinders.slices, 10);
    EXPECT_EQ(sandbox->shotCylinders.stacks, 10);
}

TEST_F(SandboxTest, SqueezedJawsMoveTheBallButNotTheCylinder) {
    press(SDLK_q);
    press(SDLK_q);
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    const dReal* ball = dBodyGetPosition(sandbox->balls.bodies.at(0));
    EXPECT_EQ(ball[1], sandbox->toolPosition.y);
    EXPECT_TRUE(isAt(toFloat3(ball), {-2.0f, 0.0f, 7.0f}));
    EXPECT_TRUE(isAt(position(sandbox->shotCylinders.bodies.at(0)), {-3.0f, -5.0f, 6.0f}));
}

TEST_F(SandboxTest, BothProjectilesFollowTheMovedTool) {
    moveMouse(40, -80);  // tool to x -2, y +1
    click(SDL_BUTTON_WHEELUP);  // and up to 5.5
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    EXPECT_TRUE(isAt(position(sandbox->balls.bodies.at(0)), {-4.0f, 0.0f, 7.5f}));
    EXPECT_TRUE(isAt(position(sandbox->shotCylinders.bodies.at(0)), {-5.0f, -4.0f, 6.5f}));
}

TEST_F(SandboxTest, OnlyPressesOfLeftAndRightButtonFire) {
    click(SDL_BUTTON_LEFT, SDL_RELEASED);
    click(SDL_BUTTON_RIGHT, SDL_RELEASED);
    click(SDL_BUTTON_MIDDLE, SDL_PRESSED);
    click(SDL_BUTTON_MIDDLE, SDL_RELEASED);
    EXPECT_TRUE(sandbox->balls.bodies.empty());
    EXPECT_TRUE(sandbox->shotCylinders.bodies.empty());
    EXPECT_EQ(countBodies(), 0);

    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    click(SDL_BUTTON_LEFT);
    EXPECT_EQ(sandbox->balls.bodies.size(), 2u);
    EXPECT_EQ(sandbox->shotCylinders.bodies.size(), 1u);
    EXPECT_EQ(countBodies(), 3);
}
