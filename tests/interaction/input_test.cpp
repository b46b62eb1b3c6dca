// The tool and its jaws under keys, mouse and wheel, and what starts from them.
#include "support/fixtures.h"

using InputTest = SandboxTest;

namespace {

const auto press = [](int key, int modifiers = 0) { return event(SDL_KEYDOWN, key, modifiers); };
const auto move = [](int right, int down) { return event(SDL_MOUSEMOTION, right, down); };
const SDL_Event kQ = press(SDLK_q), kE = press(SDLK_e), kUp = event(SDL_MOUSEBUTTONDOWN, 4),
                kUpReleased = event(SDL_MOUSEBUTTONUP, 4), kDown = event(SDL_MOUSEBUTTONDOWN, 5),
                kMiddle = event(SDL_MOUSEBUTTONDOWN, 2);

// Each row goes on from where the one before left the tool; the jaws stand at its x and z.
const struct Step {
    const char* what;
    std::vector<SDL_Event> events;
    Float3 tool;
    float jawA, jawB;  // y
} kSteps[] = {
    {"squeezed, Shift or not", {press(SDLK_q, KMOD_LSHIFT)}, {0, 0, 5}, -0.5f, 0.5f},
    {"pulled apart", {kE}, {0, 0, 5}, -1, 1},
    {"squeezed past each other", {kQ, kQ, kQ}, {0, 0, 5}, 0.5f, -0.5f},
    {"40 counts right: +y by 1", {kE, kE, move(40, 0)}, {0, 1, 5}, 0.5f, 1.5f},
    {"down the screen: +x", {move(0, -40), move(-400, 1200)}, {29, -9, 5}, -9.5f, -8.5f},
    {"up, pressed and released", {kUp, kUpReleased}, {29, -9, 6}, -9.5f, -8.5f},
    {"down to the ground, no lower", std::vector<SDL_Event>(13, kDown), {29, -9, 0}, -9.5f, -8.5f},
    {"up by a release, not the middle", {kUpReleased, kMiddle}, {29, -9, 0.5f}, -9.5f, -8.5f},
};

}  // namespace

// Down the screen is towards the camera, right is right; the wheel stops at the ground.
TEST_F(InputTest, KeysMouseAndWheelMoveTheToolAndItsJaws) {
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.what);
        for (SDL_Event e : step.events) {
            send({e});
            if (e.type == SDL_KEYDOWN) send({event(SDL_KEYUP, e.key.keysym.sym, e.key.keysym.mod)});
        }
        const Float3 t = step.tool;
        EXPECT_TRUE(isAt(sandbox->toolPosition, t)) << "the tool";
        EXPECT_TRUE(isAt(position(sandbox->jawA), {t.x, step.jawA, t.z})) << "jaw A";
        EXPECT_TRUE(isAt(position(sandbox->jawB), {t.x, step.jawB, t.z})) << "jaw B";
    }
}

// A press fires one ball or sweeper, a release nothing; a static sphere stays where the tool stood.
TEST_F(InputTest, ClicksFireAtTheirSpeedsAndStaticSpheresStayWhereTheToolStood) {
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 5) << "the jaws, the ground, a ball, a sweeper";
    EXPECT_TRUE(isAt(toFloat3(dBodyGetLinearVel(sandbox->balls.bodies.at(0))), {-40, 0, 0}));
    EXPECT_TRUE(
        isAt(toFloat3(dBodyGetLinearVel(sandbox->shotCylinders.bodies.at(0))), {-100, 0, 0}));
    send({move(40, -80), kUp, press(SDLK_5), press(SDLK_5)});
    ASSERT_EQ(sandbox->staticSpheres.geoms.size(), 2u);
    for (dGeomID sphere : sandbox->staticSpheres.geoms) {
        EXPECT_TRUE(isAt(position(sphere), {-2, 1, 5.5f}));
        EXPECT_EQ(dGeomGetBody(sphere), nullptr);
        EXPECT_EQ(dGeomSphereGetRadius(sphere), 4);
    }
}
