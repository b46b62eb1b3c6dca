// Reset: the r key clears everything the user made and rebuilds the world
// as it was at start-up, leaving the display switches alone.
#include "support/sandbox_fixture.h"

using ResetTest = SandboxTest;

namespace {

// Bodies and geoms in the collision space, not counting the jaws and the
// ground.
struct Census {
    int bodies = 0;
    int staticGeoms = 0;
};

Census census(const Sandbox& s) {
    Census c;
    for (int i = 0; i < dSpaceGetNumGeoms(s.space); ++i) {
        const dGeomID geom = dSpaceGetGeom(s.space, i);
        if (dGeomGetBody(geom) != nullptr) ++c.bodies;
        else if (geom != s.jawA && geom != s.jawB && dGeomGetClass(geom) != dPlaneClass)
            ++c.staticGeoms;
    }
    return c;
}

}  // namespace

TEST_F(ResetTest, ClearsEveryListAndRebuildsTheStartUpWorld) {
    for (SDLKey key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_0}) tap(key);
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    send({motionEvent(120, -80), buttonEvent(SDL_BUTTON_WHEELUP, true)});
    for (SDLKey key : {SDLK_q, SDLK_s, SDLK_j}) tap(key);
    simulate(0.1);
    ASSERT_EQ(census(*sandbox).bodies, 729 + 602 + 400 + 841 + 729 + 1 + 1 + 1);

    tap(SDLK_r);

    EXPECT_TRUE(sandbox->sphereBoxes.structures.empty());
    EXPECT_TRUE(sandbox->boxBoxes.structures.empty());
    EXPECT_TRUE(sandbox->emptyBoxes.structures.empty());
    EXPECT_TRUE(sandbox->softCylinders.structures.empty());
    EXPECT_TRUE(sandbox->cloths.structures.empty());
    EXPECT_TRUE(sandbox->beans.bodies.empty());
    EXPECT_TRUE(sandbox->balls.bodies.empty());
    EXPECT_TRUE(sandbox->shotCylinders.bodies.empty());
    EXPECT_TRUE(sandbox->staticSpheres.geoms.empty());
    EXPECT_TRUE(sandbox->springs.joints.empty());
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    EXPECT_TRUE(isAt(sandbox->toolPosition, kToolStart, 0));
    EXPECT_TRUE(isAt(position(sandbox->jawA), {0, -1, 5}, 0));
    EXPECT_TRUE(isAt(position(sandbox->jawB), {0, 1, 5}, 0));
    EXPECT_FALSE(sandbox->showReflections);
    EXPECT_TRUE(sandbox->showJoints);

    // The new world runs and fills like the first one.
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.001);
    tap(SDLK_5);
    tap(SDLK_1);
    simulate(0.5);
    EXPECT_EQ(census(*sandbox).bodies, 729);
    EXPECT_EQ(census(*sandbox).staticGeoms, 1);
}

TEST_F(ResetTest, UserEventsWithOtherCodesChangeNothing) {
    tap(SDLK_0);
    send({motionEvent(40, 0), userEvent(kResetCode + 1), userEvent(-1), userEvent(SDL_USEREVENT)});
    EXPECT_EQ(sandbox->beans.bodies.size(), 1u);
    EXPECT_EQ(census(*sandbox).bodies, 1);
    EXPECT_TRUE(isAt(sandbox->toolPosition, {0, 1, 5}));
}
