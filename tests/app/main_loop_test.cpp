// The event pass, its dispatch by type, and the clock that sizes each step.
#include "support/fixtures.h"

using ::testing::AllOf;
using ::testing::Ge;
using ::testing::Lt;
using MainLoopTest = SandboxTest;

// Whatever is queued is handled, a quit or not, and the reset that r posts comes last.
TEST_F(MainLoopTest, OnePassHandlesEveryQueuedEventInOrderEvenAfterAQuit) {
    tap(SDLK_5);
    send({event(SDL_ACTIVEEVENT), event(SDL_JOYAXISMOTION), event(SDL_JOYBUTTONUP), event(14),
          event(SDL_VIDEORESIZE), event(SDL_VIDEOEXPOSE), event(23), event(SDL_USEREVENT + 5),
          event(SDL_USEREVENT, kResetCode + 3), event(SDL_KEYDOWN, SDLK_a)});
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 4) << "the jaws, the ground, a static sphere";
    EXPECT_TRUE(sandbox->running);
    send({event(SDL_KEYDOWN, SDLK_s, KMOD_CAPS), event(SDL_KEYUP, SDLK_s), event(SDL_QUIT),
          event(SDL_MOUSEMOTION, 40), event(SDL_KEYDOWN, SDLK_r), event(SDL_KEYDOWN, SDLK_1),
          event(SDL_KEYDOWN, SDLK_j, KMOD_LSHIFT)});
    EXPECT_FALSE(sandbox->running);
    EXPECT_EQ(sandbox->exitCode, 0);
    EXPECT_FALSE(sandbox->showReflections) << "s pressed once with Caps Lock, then released";
    EXPECT_TRUE(sandbox->showJoints) << "j pressed with Shift after the quit";
    EXPECT_TRUE(isAt(sandbox->toolPosition, kToolStart)) << "the move, undone by the reset";
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3) << "the drops, undone by the reset";
}

// The world moves by the real time: a pass within one tick steps nothing, a frame of 50 ms is one
// step of 50 ms, a slow one of 200 ms moves it by 200 ms, a pause of 4 s by a quarter second only.
TEST_F(MainLoopTest, TheClockSizesEachStepByTheRealTimeSinceThePassBefore) {
    auto measure = [this](Uint32 lastTicks) {
        sandbox->lastTicks = lastTicks;
        sandbox->updateClock();
        return sandbox->frameSeconds;
    };
    EXPECT_THAT(measure(sandbox->lastTicks), AllOf(Ge(0.001), Lt(1.0))) << "the first pass";
    EXPECT_THAT(measure(SDL_GetTicks() + (0xFFFFFFFFu - 9u)), AllOf(Ge(0.010), Lt(1.0)))
        << "across a wrap of the tick counter";
    struct Fall {
        double frame;  // as measured
        float depth;   // from rest, in the pass
        double speed;  // at its end
    };
    const dBodyID probe = dBodyCreate(sandbox->world);
    auto fall = [&](Uint32 milliseconds) {
        dBodySetPosition(probe, 50, 50, 100);
        dBodySetLinearVel(probe, 0, 0, 0);
        const double frame = measure(SDL_GetTicks() - milliseconds);
        sandbox->stepPhysics();
        return Fall{frame, 100 - position(probe).z, -dBodyGetLinearVel(probe)[2]};
    };
    EXPECT_EQ(fall(0).depth, 0.0f) << "a pass of 0 s";
    const Fall frame = fall(50), slow = fall(200), pause = fall(4000);
    EXPECT_NEAR(frame.depth, 9.81 * frame.frame * frame.frame, 1e-4)
        << "one step of " << frame.frame;
    EXPECT_NEAR(slow.speed, 9.81 * slow.frame, 1e-4) << "after a slow frame of " << slow.frame;
    EXPECT_THAT(pause.frame, AllOf(Ge(4.0), Lt(5.0)));
    EXPECT_NEAR(pause.speed, 9.81 * 0.25, 1e-4) << "after a pause";
    EXPECT_LT(pause.depth, 9.81 * 0.25 * 0.25) << "a pause's fall: in steps, not one";
}
