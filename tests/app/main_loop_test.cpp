// The event pass, its dispatch by type, and the frame clock that sizes the
// physics step.
#include "support/sandbox_fixture.h"

#include <SDL_syswm.h>

using MainLoopTest = SandboxTest;

namespace {

SDL_Event ofType(Uint8 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

}  // namespace

TEST_F(MainLoopTest, OnePassDispatchesEveryQueuedEventEvenAfterAQuitAndIgnoresTheRest) {
    SDL_SysWMmsg message{};  // the queue copies what a window-manager event points at
    SDL_Event windowManager = ofType(SDL_SYSWMEVENT);
    windowManager.syswm.msg = &message;
    send({ofType(SDL_ACTIVEEVENT), ofType(SDL_JOYAXISMOTION), ofType(SDL_JOYBUTTONUP),
          windowManager, ofType(SDL_EVENT_RESERVEDA), ofType(SDL_VIDEORESIZE),
          ofType(SDL_VIDEOEXPOSE), ofType(SDL_EVENT_RESERVED7), userEvent(kResetCode + 3),
          keyEvent(SDLK_a, true), keyEvent(SDLK_F1, true), buttonEvent(SDL_BUTTON_MIDDLE, true),
          keyEvent(SDLK_s, true), keyEvent(SDLK_s, false), ofType(SDL_QUIT),
          motionEvent(40, 0), keyEvent(SDLK_j, true)});

    EXPECT_FALSE(sandbox->running);
    EXPECT_EQ(sandbox->exitCode, 0);
    EXPECT_FALSE(sandbox->showReflections);  // toggled once: the release does nothing
    EXPECT_TRUE(sandbox->showJoints);        // handled after the quit
    EXPECT_TRUE(isAt(sandbox->toolPosition, {0, 1, 5}));
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);  // still the jaws and the ground
}

TEST_F(MainLoopTest, ResetKeyTakesEffectInTheSamePassAfterTheEventsQueuedBehindIt) {
    send({motionEvent(0, 40), keyEvent(SDLK_r, true), keyEvent(SDLK_1, true),
          motionEvent(80, 0), keyEvent(SDLK_j, true)});

    EXPECT_TRUE(isAt(sandbox->toolPosition, kToolStart));
    EXPECT_TRUE(sandbox->sphereBoxes.structures.empty());
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    EXPECT_TRUE(sandbox->showJoints);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

// The clock feeds the step unsmoothed and unbounded: a pause of seconds is
// one step of seconds.
TEST_F(MainLoopTest, ClockMeasuresRealTimeAcrossATickWrapAndAPauseIsSteppedWhole) {
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.001);  // the first pass after world creation
    EXPECT_LT(sandbox->frameSeconds, 1.0);

    sandbox->lastTicks = SDL_GetTicks() + (0xFFFFFFFFu - 9u);  // ten ticks ago, across a wrap
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.010);
    EXPECT_LT(sandbox->frameSeconds, 1.0);

    const dBodyID probe = dBodyCreate(sandbox->world);
    dBodySetPosition(probe, 50, 50, 100);
    sandbox->lastTicks = SDL_GetTicks() - 4000;
    sandbox->updateClock();
    const double pause = sandbox->frameSeconds;
    EXPECT_GE(pause, 4.0);
    EXPECT_LT(pause, 5.0);
    sandbox->stepPhysics();
    EXPECT_NEAR(position(probe).z, 100 - 9.81 * pause * pause, 1e-3);  // one step of it all
}

TEST_F(MainLoopTest, PassWithinTheSameMillisecondLeavesTheWorldAsItWas) {
    const dBodyID probe = dBodyCreate(sandbox->world);
    dBodySetPosition(probe, 50, 50, 20);
    sandbox->frameSeconds = 0.0;
    sandbox->stepPhysics();
    EXPECT_EQ(position(probe).z, 20.0f);
}
