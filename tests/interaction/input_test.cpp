// Keys, mouse motion, the wheel and the buttons, each pressed and released
// through SDL's queue: what they do to the tool, the jaws, the switches and
// the projectiles.
#include "support/sandbox_fixture.h"

#include <functional>

using KeyboardTest = SandboxTest;
using ToolTest = SandboxTest;
using ProjectileTest = SandboxTest;

namespace {

// The bodies and static geoms in the world, whoever made them.
int objectsInSpace(const Sandbox& s) {
    return dSpaceGetNumGeoms(s.space) - 3;  // the jaws and the ground
}

float gap(const Sandbox& s) {
    return position(s.jawB).y - position(s.jawA).y;
}

// Whether the body's own axis lies along `expected` in the world: a column
// of ODE's rotation matrix.
::testing::AssertionResult hasAxis(dBodyID body, int axis, Float3 expected) {
    const dReal* r = dBodyGetRotation(body);
    const dReal column[3] = {r[axis], r[4 + axis], r[8 + axis]};
    return isAt(toFloat3(column), expected);
}

}  // namespace

// One key at a time: each spawn key fills its own list and nothing else.
TEST_F(KeyboardTest, EachSpawnKeyFillsItsOwnListOnce) {
    struct Row {
        SDLKey key;
        std::function<size_t(const Sandbox&)> items;
        int objects;
    };
    const Row rows[] = {
        {SDLK_1, [](const Sandbox& s) { return s.sphereBoxes.structures.size(); }, 729},
        {SDLK_2, [](const Sandbox& s) { return s.emptyBoxes.structures.size(); }, 602},
        {SDLK_3, [](const Sandbox& s) { return s.softCylinders.structures.size(); }, 400},
        {SDLK_4, [](const Sandbox& s) { return s.cloths.structures.size(); }, 841},
        {SDLK_5, [](const Sandbox& s) { return s.staticSpheres.geoms.size(); }, 1},
        {SDLK_6, [](const Sandbox& s) { return s.boxBoxes.structures.size(); }, 729},
        {SDLK_0, [](const Sandbox& s) { return s.beans.bodies.size(); }, 1},
    };
    int objects = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(SDL_GetKeyName(row.key));
        tap(row.key);
        objects += row.objects;
        EXPECT_EQ(row.items(*sandbox), 1u);
        EXPECT_EQ(objectsInSpace(*sandbox), objects);
    }
}

TEST_F(KeyboardTest, SwitchesAndEscapeActOnPressesOnlyWhateverTheModifiers) {
    tap(SDLK_s);
    tap(SDLK_j, KMOD_LSHIFT);
    EXPECT_FALSE(sandbox->showReflections);
    EXPECT_TRUE(sandbox->showJoints);
    tap(SDLK_s, KMOD_CAPS);
    EXPECT_TRUE(sandbox->showReflections);

    send({keyEvent(SDLK_ESCAPE, false)});
    EXPECT_TRUE(sandbox->running);
    tap(SDLK_ESCAPE);
    EXPECT_FALSE(sandbox->running);
    EXPECT_EQ(sandbox->exitCode, 0);
}

// Each squeeze moves each jaw 0.5 towards the other, with no limit: two
// bring them together, a third crosses them. A pull-apart undoes a squeeze
// exactly. Both jaws take the tool's x and height.
TEST_F(KeyboardTest, SqueezeAndPullApartMoveTheJawsHalfAUnitEachAlongY) {
    send({motionEvent(13, 7), buttonEvent(SDL_BUTTON_WHEELUP, true)});
    const Float3 a = position(sandbox->jawA);
    tap(SDLK_q, KMOD_LSHIFT);
    EXPECT_FLOAT_EQ(gap(*sandbox), 1.0f);
    tap(SDLK_e);
    EXPECT_EQ(position(sandbox->jawA).y, a.y);
    EXPECT_FLOAT_EQ(gap(*sandbox), 2.0f);

    for (int i = 0; i < 3; ++i) tap(SDLK_q);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, sandbox->toolPosition.y + 0.5f);
    EXPECT_FLOAT_EQ(gap(*sandbox), -1.0f);
    for (dGeomID jaw : {sandbox->jawA, sandbox->jawB}) {
        EXPECT_EQ(position(jaw).x, sandbox->toolPosition.x);
        EXPECT_EQ(position(jaw).z, 5.5f);
    }
}

// The mouse's axes are crossed: right moves the tool along +y, down the
// screen along +x, 40 counts to the unit; the jaws keep their gap.
TEST_F(ToolTest, MouseMotionMovesTheToolAndBothJawsAlongCrossedAxes) {
    tap(SDLK_q);
    send({motionEvent(40, 0)});
    EXPECT_TRUE(isAt(sandbox->toolPosition, {0, 1, 5}));
    send({motionEvent(0, -40), motionEvent(-400, 1200)});
    EXPECT_TRUE(isAt(sandbox->toolPosition, {29, -9, 5}));
    EXPECT_TRUE(isAt(position(sandbox->jawA), {29, -9.5f, 5}));
    EXPECT_TRUE(isAt(position(sandbox->jawB), {29, -8.5f, 5}));
}

// A wheel step arrives as a press and a release, and each moves the tool
// half a unit; the tool descends only while above the ground.
TEST_F(ToolTest, WheelStepsMoveTheToolAUnitAndItDescendsNoLowerThanTheGround) {
    for (int i = 0; i < 5; ++i) click(SDL_BUTTON_WHEELDOWN);
    EXPECT_EQ(sandbox->toolPosition.z, 0.0f);
    EXPECT_EQ(position(sandbox->jawA).z, 0.0f);
    click(SDL_BUTTON_WHEELDOWN);
    EXPECT_EQ(sandbox->toolPosition.z, 0.0f);
    send({buttonEvent(SDL_BUTTON_WHEELUP, false)});
    EXPECT_EQ(sandbox->toolPosition.z, 0.5f);
    EXPECT_EQ(position(sandbox->jawB).z, 0.5f);
    click(SDL_BUTTON_MIDDLE);
    EXPECT_EQ(sandbox->toolPosition.z, 0.5f);
    EXPECT_EQ(objectsInSpace(*sandbox), 0);
}

TEST_F(ProjectileTest, LeftClickFiresOneHeavyBallFromBesideTheFirstJaw) {
    click(SDL_BUTTON_LEFT);
    ASSERT_EQ(sandbox->balls.bodies.size(), 1u);
    EXPECT_EQ(objectsInSpace(*sandbox), 1);
    const dBodyID ball = sandbox->balls.bodies[0];
    EXPECT_TRUE(isAt(position(ball), {-2, -1, 7}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetLinearVel(ball)), {-40, 0, 0}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetAngularVel(ball)), {0, 0, 0}));
    EXPECT_TRUE(hasAxis(ball, 2, {0, 0, 1}));

    // The ball leaves from the jaw, so the squeeze moves it; the tool's
    // height moves both projectiles.
    for (SDLKey key : {SDLK_q, SDLK_q}) tap(key);
    send({motionEvent(40, -80), buttonEvent(SDL_BUTTON_WHEELUP, true)});
    click(SDL_BUTTON_LEFT);
    EXPECT_TRUE(isAt(position(sandbox->balls.bodies.at(1)), {-4, 1, 7.5f}));
}

// The sweeper lies across its flight: the capsule's own axis, the body's
// z, along world y; it is placed from the tool, not from a jaw.
TEST_F(ProjectileTest, RightClickFiresOneSweeperBroadsideAlongMinusX) {
    for (SDLKey key : {SDLK_q, SDLK_q}) tap(key);
    click(SDL_BUTTON_RIGHT);
    ASSERT_EQ(sandbox->shotCylinders.bodies.size(), 1u);
    EXPECT_EQ(objectsInSpace(*sandbox), 1);
    const dBodyID sweeper = sandbox->shotCylinders.bodies[0];
    EXPECT_TRUE(isAt(position(sweeper), {-3, -5, 6}));
    EXPECT_TRUE(isAt(toFloat3(dBodyGetLinearVel(sweeper)), {-100, 0, 0}));
    EXPECT_TRUE(hasAxis(sweeper, 0, {-1, 0, 0}));
    EXPECT_TRUE(hasAxis(sweeper, 1, {0, 0, 1}));
    EXPECT_TRUE(hasAxis(sweeper, 2, {0, 1, 0}));

    // The mass lies along the capsule's axis: it turns most easily about it.
    dMass mass;
    dBodyGetMass(sweeper, &mass);
    EXPECT_LT(mass.I[10], mass.I[0]);
    EXPECT_FLOAT_EQ(mass.I[0], mass.I[5]);

    send({motionEvent(40, -80), buttonEvent(SDL_BUTTON_WHEELUP, true)});
    click(SDL_BUTTON_RIGHT);
    EXPECT_TRUE(isAt(position(sandbox->shotCylinders.bodies.at(1)), {-5, -4, 6.5f}));
}
