// A pass that follows a long pause (a stalled machine, a dragged window)
// steps the world by the whole pause in one go, with every kind of object
// in it, and the program carries on drawing and stepping afterwards.
#include "reliability/scene_census.h"
#include "support/render_fixture.h"

#include <cmath>

namespace {

constexpr Uint32 kPauseMs = 4000;
constexpr int kShots = 2;
constexpr float kProbeHeight = 500.0f;  // far above anything it could touch
constexpr double kGravity = -9.81;

// One pass of the main loop, made of the same calls in the same order.
void runPass(Sandbox& sandbox) {
    sandbox.handleEvents();
    sandbox.updateClock();
    sandbox.stepPhysics();
    sandbox.update();
    sandbox.render();
}

// The same pass at a steady 60 per second, however slow the machine.
void runSteadyPass(Sandbox& sandbox) {
    sandbox.handleEvents();
    sandbox.frameSeconds = 1.0 / 60.0;
    sandbox.stepPhysics();
    sandbox.update();
    sandbox.render();
    sandbox.lastTicks = SDL_GetTicks();
}

}  // namespace

TEST_F(RenderTest, PassAfterALongPauseStepsByThePauseAndTheSandboxCarriesOn) {
    sandbox->showJoints = true;
    const Census everyKind = queueEveryKind(kShots);
    for (int i = 0; i < 30; ++i) runSteadyPass(*sandbox);
    const dBodyID probe = addBody(0, 0, kProbeHeight);  // no geom: it only falls

    SDL_Delay(kPauseMs);
    runPass(*sandbox);

    EXPECT_GE(sandbox->frameSeconds, kPauseMs / 1000.0);
    // One step of the whole pause: free fall gains g times the step.
    const double fallSpeed = dBodyGetLinearVel(probe)[2];
    EXPECT_NEAR(fallSpeed, kGravity * sandbox->frameSeconds, 1e-3 * std::abs(fallSpeed));

    for (int i = 0; i < 60; ++i) runSteadyPass(*sandbox);
    for (const std::string& problem : compare(*sandbox, everyKind)) ADD_FAILURE() << problem;
    EXPECT_TRUE(sandbox->running);
}
