// The event pass, its dispatch by type, and the clock that sizes each step.
#include "support/fixtures.h"

using MainLoopTest = SandboxTest;

TEST_F(MainLoopTest, OnePassHandlesEveryQueuedEventEvenAfterAQuitAndIgnoresTheRest) {
    send({event(SDL_ACTIVEEVENT), event(SDL_JOYAXISMOTION), event(SDL_JOYBUTTONUP), event(14),
          event(SDL_VIDEORESIZE), event(SDL_VIDEOEXPOSE), event(23), event(SDL_USEREVENT + 5),
          event(SDL_USEREVENT, 3), event(SDL_KEYDOWN, SDLK_a),
          event(SDL_KEYDOWN, SDLK_s, KMOD_CAPS), event(SDL_KEYUP, SDLK_s), event(SDL_QUIT),
          event(SDL_MOUSEMOTION, 40), event(SDL_KEYDOWN, SDLK_r), event(SDL_KEYDOWN, SDLK_1),
          event(SDL_KEYDOWN, SDLK_j, KMOD_LSHIFT)});
    EXPECT_TRUE(!sandbox->running && sandbox->exitCode == 0);
    EXPECT_TRUE(!sandbox->showReflections &&
                sandbox->showJoints);  // once each, whatever the modifiers, after the quit
    // The reset the r key posts comes last, in the same pass: the drop and the move before it are
    // undone.
    EXPECT_TRUE(isAt(sandbox->toolPosition, kToolStart) && dSpaceGetNumGeoms(sandbox->space) == 3);
    sandbox->running = true;
    send({event(SDL_KEYUP, SDLK_ESCAPE), event(SDL_KEYDOWN, SDLK_ESCAPE)});
    EXPECT_TRUE(!sandbox->running && sandbox->exitCode == 0);
}

// Unsmoothed and unbounded: the first pass measures at least a tick, a wrap of the counter changes
// nothing, a pass within one tick steps nothing and a pause of seconds is one step of seconds.
TEST_F(MainLoopTest, TheClockSizesEachStepByTheRealTimeSinceThePassBefore) {
    auto measure = [this](Uint32 lastTicks) {
        sandbox->lastTicks = lastTicks;
        sandbox->updateClock();
        return sandbox->frameSeconds;
    };
    const double first = measure(sandbox->lastTicks),
                 wrapped = measure(SDL_GetTicks() + (0xFFFFFFFFu - 9u));
    EXPECT_TRUE(first >= 0.001 && first < 1 && wrapped >= 0.010 && wrapped < 1)
        << first << ", " << wrapped;
    const dBodyID probe = dBodyCreate(sandbox->world);
    dBodySetPosition(probe, 50, 50, 100);
    sandbox->frameSeconds = 0;
    sandbox->stepPhysics();
    EXPECT_EQ(position(probe).z, 100.0f);
    const double pause = measure(SDL_GetTicks() - 4000);
    EXPECT_TRUE(pause >= 4 && pause < 5) << pause;
    sandbox->stepPhysics();
    EXPECT_NEAR(position(probe).z, 100 - 9.81 * pause * pause, 1e-3);
}
