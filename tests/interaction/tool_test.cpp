// The tool: crossed mouse axes, the wheel with its floor, the jaws' gap.
#include "support/sandbox_fixture.h"

TEST_F(SandboxTest, MouseMotionMovesToolAndJawsAlongCrossedAxes) {
    moveMouse(40, 0);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, 0.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 2.0f);

    moveMouse(0, -40);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.x, -1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).x, -1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).x, -1.0f);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.z, 5.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).z, 5.0f);
}

TEST_F(SandboxTest, MotionKeepsASqueezedGap) {
    press(SDLK_q);
    moveMouse(-400, 1200);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y - position(sandbox->jawA).y, 1.0f);
    EXPECT_FLOAT_EQ((position(sandbox->jawA).y + position(sandbox->jawB).y) / 2,
                    sandbox->toolPosition.y);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).x, sandbox->toolPosition.x);
}

TEST_F(SandboxTest, WheelDescendsToTheGroundAndNoFurther) {
    for (int i = 0; i < 10; ++i) click(SDL_BUTTON_WHEELDOWN);
    EXPECT_EQ(sandbox->toolPosition.z, 0.0f);
    EXPECT_EQ(position(sandbox->jawA).z, 0.0f);
    click(SDL_BUTTON_WHEELDOWN);
    click(SDL_BUTTON_WHEELDOWN, SDL_RELEASED);
    EXPECT_EQ(sandbox->toolPosition.z, 0.0f);
    click(SDL_BUTTON_WHEELUP);
    EXPECT_EQ(sandbox->toolPosition.z, 0.5f);
    EXPECT_EQ(position(sandbox->jawB).z, 0.5f);
}

TEST_F(SandboxTest, WheelPressAndReleaseEachMoveTheTool) {
    click(SDL_BUTTON_WHEELDOWN, SDL_PRESSED);
    click(SDL_BUTTON_WHEELDOWN, SDL_RELEASED);
    EXPECT_EQ(sandbox->toolPosition.z, 4.0f);
    click(SDL_BUTTON_WHEELUP, SDL_PRESSED);
    click(SDL_BUTTON_WHEELUP, SDL_RELEASED);
    EXPECT_EQ(sandbox->toolPosition.z, 5.0f);
}

TEST_F(SandboxTest, MiddleButtonDoesNothing) {
    click(SDL_BUTTON_MIDDLE, SDL_PRESSED);
    click(SDL_BUTTON_MIDDLE, SDL_RELEASED);
    EXPECT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    EXPECT_EQ(sandbox->toolPosition.z, 5.0f);
}
