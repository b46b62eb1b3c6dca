// Keyboard commands: presses act, releases never do, modifiers are ignored.
#include "support/sandbox_fixture.h"

TEST_F(SandboxTest, SwitchesToggleOnPressesOnly) {
    press(SDLK_s);
    release(SDLK_s);
    EXPECT_FALSE(sandbox->showReflections);
    press(SDLK_s);
    EXPECT_TRUE(sandbox->showReflections);

    press(SDLK_j);
    release(SDLK_j);
    EXPECT_TRUE(sandbox->showJoints);
    press(SDLK_j);
    EXPECT_FALSE(sandbox->showJoints);
}

TEST_F(SandboxTest, EscapeEndsTheLoopWithStatusZeroAndItsReleaseDoesNothing) {
    release(SDLK_ESCAPE);
    EXPECT_TRUE(sandbox->running);
    press(SDLK_ESCAPE);
    EXPECT_FALSE(sandbox->running);
    EXPECT_EQ(sandbox->exitCode, 0);
}

TEST_F(SandboxTest, TwoSqueezesBringTheJawsTogetherAndAThirdCrossesThem) {
    press(SDLK_q);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, -0.5f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 0.5f);
    press(SDLK_q);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, 0.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 0.0f);
    press(SDLK_q);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, 0.5f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, -0.5f);
}

TEST_F(SandboxTest, ShiftQSqueezesLikeQAndReleasesDoNot) {
    press(SDLK_q, KMOD_LSHIFT);
    release(SDLK_q);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, -0.5f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 0.5f);
}

TEST_F(SandboxTest, PullingApartUndoesASqueezeExactly) {
    moveMouse(13, 7);
    const Float3 a = position(sandbox->jawA);
    const Float3 b = position(sandbox->jawB);
    press(SDLK_q);
    press(SDLK_e);
    EXPECT_EQ(position(sandbox->jawA).y, a.y);
    EXPECT_EQ(position(sandbox->jawB).y, b.y);
    press(SDLK_e);
    press(SDLK_e);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y - position(sandbox->jawA).y, 4.0f);
}

TEST_F(SandboxTest, SqueezeLinesTheJawsUpWithTheToolsXAndHeight) {
    sandbox->toolPosition = {3.0f, 0.0f, 9.0f};
    press(SDLK_q);
    for (dGeomID jaw : {sandbox->jawA, sandbox->jawB}) {
        EXPECT_FLOAT_EQ(position(jaw).x, 3.0f);
        EXPECT_FLOAT_EQ(position(jaw).z, 9.0f);
    }
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 0.0f);
}

TEST_F(SandboxTest, UnknownKeysChangeNothing) {
    for (SDLKey key : {SDLK_a, SDLK_7, SDLK_F1, SDLK_SPACE, SDLK_LSHIFT, SDLK_UP}) press(key);
    EXPECT_TRUE(sandbox->running);
    EXPECT_TRUE(sandbox->showReflections);
    EXPECT_FALSE(sandbox->showJoints);
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    SDL_Event none;
    EXPECT_EQ(SDL_PollEvent(&none), 0);
}
