// The event pass, dispatch by type, and the frame clock.
#include "support/sandbox_fixture.h"

#include <SDL_syswm.h>

namespace {

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

SDL_Event keyEvent(SDLKey key, bool pressed) {
    SDL_Event event{};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event motionEvent(Sint16 xrel, Sint16 yrel) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.xrel = xrel;
    event.motion.yrel = yrel;
    return event;
}

SDL_Event ofType(Uint8 type) {
    SDL_Event event{};
    event.type = type;
    return event;
}

}  // namespace

TEST_F(SandboxTest, OnePassHandlesEveryQueuedEventEvenAfterAQuit) {
    push(keyEvent(SDLK_s, true));
    push(keyEvent(SDLK_s, false));
    push(ofType(SDL_QUIT));
    push(motionEvent(40, 0));
    push(keyEvent(SDLK_j, true));

    sandbox->handleEvents();

    EXPECT_FALSE(sandbox->running);
    EXPECT_EQ(sandbox->exitCode, 0);
    EXPECT_FALSE(sandbox->showReflections);  // the release did not toggle back
    EXPECT_TRUE(sandbox->showJoints);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 1.0f);
}

TEST_F(SandboxTest, ResetKeyTakesEffectInTheSamePassAfterTheEventsQueuedBehindIt) {
    push(motionEvent(0, 40));
    push(keyEvent(SDLK_r, true));
    push(motionEvent(80, 0));  // carried out first, then undone by the reset
    push(keyEvent(SDLK_j, true));

    sandbox->handleEvents();

    EXPECT_FLOAT_EQ(sandbox->toolPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 0.0f);
    EXPECT_TRUE(sandbox->showJoints);  // switches survive the reset
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0);
}

TEST_F(SandboxTest, IgnoredEventTypesChangeNothing) {
    const Float3 jawA = position(sandbox->jawA);
    for (Uint8 type : {SDL_ACTIVEEVENT, SDL_JOYAXISMOTION, SDL_JOYBALLMOTION, SDL_JOYHATMOTION,
                       SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP, SDL_EVENT_RESERVEDA,
                       SDL_EVENT_RESERVEDB, SDL_VIDEORESIZE, SDL_VIDEOEXPOSE, SDL_EVENT_RESERVED2,
                       SDL_EVENT_RESERVED7}) {
        push(ofType(type));
    }
    SDL_SysWMmsg message{};  // the queue copies the message, so it must exist
    SDL_Event windowManager = ofType(SDL_SYSWMEVENT);
    windowManager.syswm.msg = &message;
    push(windowManager);
    SDL_Event user = ofType(SDL_USEREVENT);
    user.user.code = 3;
    push(user);
    push(ofType(SDL_USEREVENT + 5));

    sandbox->handleEvents();

    EXPECT_TRUE(sandbox->running);
    EXPECT_TRUE(sandbox->showReflections);
    EXPECT_FALSE(sandbox->showJoints);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.z, 5.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, jawA.y);
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
}

TEST_F(SandboxTest, FirstPassAfterWorldCreationMeasuresAtLeastOneMillisecond) {
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.001);
    EXPECT_LT(sandbox->frameSeconds, 5.0);
}

TEST_F(SandboxTest, ClockMeasuresTheTrueDifferenceAcrossATickWrap) {
    const Uint32 now = SDL_GetTicks();
    // Ten ticks before now, on the far side of a wrap of the counter: as an
    // unsigned number it is larger than now.
    sandbox->lastTicks = now + (0xFFFFFFFFu - 9u);
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.010);
    EXPECT_LT(sandbox->frameSeconds, 1.0);
    EXPECT_GE(sandbox->lastTicks, now);
    EXPECT_LT(sandbox->lastTicks, now + 1000u);
}

TEST_F(SandboxTest, PassWithinTheSameMillisecondLeavesTheWorldAsItWas) {
    const dBodyID ball = dBodyCreate(sandbox->world);
    dBodySetPosition(ball, 30, 30, 20);
    sandbox->frameSeconds = 0.0;

    sandbox->stepPhysics();
    sandbox->stepPhysics();

    EXPECT_FLOAT_EQ(position(ball).z, 20.0f);
    sandbox->frameSeconds = 0.05;
    sandbox->stepPhysics();
    EXPECT_LT(position(ball).z, 20.0f);
}

TEST_F(SandboxTest, TwoClockReadsWithinOneMillisecondDoNotStopTheProcess) {
    for (int i = 0; i < 200; ++i) {
        sandbox->updateClock();
        sandbox->stepPhysics();
    }
    SUCCEED();
}
