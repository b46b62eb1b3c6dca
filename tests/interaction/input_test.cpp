// What the keys, the mouse and the wheel do to the tool and its jaws, and what the clicks fire from
// where.
#include "support/fixtures.h"

using InputTest = SandboxTest;

namespace {

SDL_Event press(int key, int modifiers = 0) {
    return event(SDL_KEYDOWN, key, modifiers);
}
SDL_Event wheel(int button, bool down = true) {
    return event(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, button);
}

// Each row goes on from where the one before it left the tool and its jaws.
const struct Step {
    const char* what;
    std::vector<SDL_Event> events;
    Float3 tool, jawA, jawB;
} kSteps[] = {
    {"a squeeze, Shift or not",
     {press(SDLK_q, KMOD_LSHIFT)},
     {0, 0, 5},
     {0, -0.5f, 5},
     {0, 0.5f, 5}},
    {"a pull-apart undoes it", {press(SDLK_e)}, {0, 0, 5}, {0, -1, 5}, {0, 1, 5}},
    {"three squeezes cross the jaws",
     {press(SDLK_q), press(SDLK_q), press(SDLK_q)},
     {0, 0, 5},
     {0, 0.5f, 5},
     {0, -0.5f, 5}},
    {"right 40 counts: +y by 1",
     {press(SDLK_e), press(SDLK_e), event(SDL_MOUSEMOTION, 40)},
     {0, 1, 5},
     {0, 0.5f, 5},
     {0, 1.5f, 5}},
    {"down the screen: +x",
     {event(SDL_MOUSEMOTION, 0, -40), event(SDL_MOUSEMOTION, -400, 1200)},
     {29, -9, 5},
     {29, -9.5f, 5},
     {29, -8.5f, 5}},
    {"a wheel step up, press and release",
     {wheel(SDL_BUTTON_WHEELUP), wheel(SDL_BUTTON_WHEELUP, false)},
     {29, -9, 6},
     {29, -9.5f, 6},
     {29, -8.5f, 6}},
    {"thirteen down: to the ground, no lower",
     std::vector<SDL_Event>(13, wheel(SDL_BUTTON_WHEELDOWN)),
     {29, -9, 0},
     {29, -9.5f, 0},
     {29, -8.5f, 0}},
    {"up by a release; the middle button nothing",
     {wheel(SDL_BUTTON_WHEELUP, false), wheel(SDL_BUTTON_MIDDLE)},
     {29, -9, 0.5f},
     {29, -9.5f, 0.5f},
     {29, -8.5f, 0.5f}},
};

}  // namespace

// Squeezes move each jaw 0.5 along y towards the other, with no limit; the mouse's axes are
// crossed, 40 counts to the unit; a wheel step comes as a press and a release, each moving the tool
// half a unit, no lower than the ground.
TEST_F(InputTest, KeysMouseAndWheelMoveTheToolAndItsJaws) {
    for (const Step& step : kSteps) {
        for (SDL_Event e : step.events) {
            send({e});
            if (e.type == SDL_KEYDOWN) send({event(SDL_KEYUP, e.key.keysym.sym, e.key.keysym.mod)});
        }
        EXPECT_TRUE(isAt(sandbox->toolPosition, step.tool) &&
                    isAt(position(sandbox->jawA), step.jawA) &&
                    isAt(position(sandbox->jawB), step.jawB))
            << step.what;
    }
}

// A ball leaves from beside the first jaw, so a squeeze moves it; a sweeper from the tool, lying
// across its flight, the capsule's axis (the body's z) along world y.
TEST_F(InputTest, ClicksFireOneBallOrOneSweeperFromTheTool) {
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    ASSERT_EQ(dSpaceGetNumGeoms(sandbox->space), 5);
    const dBodyID ball = sandbox->balls.bodies.at(0), sweeper = sandbox->shotCylinders.bodies.at(0);
    EXPECT_TRUE(isAt(position(ball), {-2, -1, 7}) &&
                isAt(toFloat3(dBodyGetLinearVel(ball)), {-40, 0, 0}));
    EXPECT_TRUE(isAt(position(sweeper), {-3, -5, 6}) &&
                isAt(toFloat3(dBodyGetLinearVel(sweeper)), {-100, 0, 0}));
    const dReal *r = dBodyGetRotation(ball),
                *t = dBodyGetRotation(sweeper);  // rows of each rotation
    EXPECT_TRUE(isAt(toFloat3(r), {1, 0, 0}) && isAt(toFloat3(r + 4), {0, 1, 0}) &&
                isAt(toFloat3(r + 8), {0, 0, 1}));
    EXPECT_TRUE(isAt(toFloat3(t), {-1, 0, 0}) && isAt(toFloat3(t + 4), {0, 0, 1}) &&
                isAt(toFloat3(t + 8), {0, 1, 0}));
    for (dBodyID body : {ball, sweeper})
        EXPECT_TRUE(isAt(toFloat3(dBodyGetAngularVel(body)), {0, 0, 0}));
    send(
        {press(SDLK_q), press(SDLK_q), event(SDL_MOUSEMOTION, 40, -80), wheel(SDL_BUTTON_WHEELUP)});
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    EXPECT_TRUE(isAt(position(sandbox->balls.bodies.at(1)), {-4, 1, 7.5f}));
    EXPECT_TRUE(isAt(position(sandbox->shotCylinders.bodies.at(1)), {-5, -4, 6.5f}));
}
