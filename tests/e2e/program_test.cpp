// The program as a user meets it: what it prints, its window, and the ways
// it ends.
#include "running_program.h"

#include <gtest/gtest.h>

namespace {

const char* const kControls =
    "Keyboard Controls:\n"
    " 1  -  drop a full box of spheres\n"
    " 2  -  drop an empty box\n"
    " 3  -  drop a cylinder\n"
    " 4  -  drop a cloth\n"
    " 5  -  create a static sphere\n"
    " 6  -  drop a full box of boxes\n"
    " 0  -  drop a bean\n"
    " s  -  show(on/off) reflections\n"
    " j  -  show(on/off) joints\n"
    " r  -  reset\n"
    " q  -  squeeze (for the tool)\n"
    " e  -  pull apart (for the tool)\n"
    "\n"
    "Mouse Controls: (for the tool)\n"
    " Left Click       -  fire a ball\n"
    " Rigth Click      -  fire a cylinder\n"
    " Scroll Up        -  ascend\n"
    " Scroll Down      -  descend\n"
    " Moving the Mouse -  move the tool\n";

// Pixels are told apart by hue, so a jaw and its darker mirror image count
// alike.
constexpr Colour kJawA = {1.0f, 1.0f, 0.0f};
constexpr Colour kJawB = {0.75f, 0.5f, 0.0f};

// This machine's sound library reports a missing sound card on standard
// error by itself; the dummy audio driver keeps it out of what is checked.
const std::vector<std::string> kQuietAudio = {"SDL_AUDIODRIVER=dummy"};

}  // namespace

TEST(Program, PrintsItsControlsOpensItsWindowAndEndsWithEscape) {
    RunningProgram program(true, kQuietAudio);
    ASSERT_TRUE(program.waitForWindow());
    EXPECT_EQ(program.windowName(), "Bramblewick");
    const Screenshot shot = program.screenshot();
    EXPECT_GT(shot.count(kJawA), 100);
    EXPECT_GT(shot.count(kJawB), 100);

    program.keys("Escape");
    const Ending ending = program.wait(10);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(ending.out, kControls);
    EXPECT_EQ(ending.err, "");
}

TEST(Program, ClosingTheWindowEndsWithStatusZero) {
    RunningProgram program(true, kQuietAudio);
    ASSERT_TRUE(program.waitForWindow());
    program.closeWindow();
    EXPECT_EQ(program.wait(10).status, 0);
}

TEST(Program, ReflectionSwitchAndResetsWriteNothing) {
    RunningProgram program(true, kQuietAudio);
    ASSERT_TRUE(program.waitForWindow());
    const int withImages = program.screenshot().count(kJawA);
    program.keys("s");
    pause(0.3);
    const int plain = program.screenshot().count(kJawA);
    EXPECT_GT(plain, 100);
    EXPECT_LT(plain, withImages * 3 / 4);
    program.keys("s");
    pause(0.3);
    EXPECT_GT(program.screenshot().count(kJawA), plain * 5 / 4);

    program.keys("r r q e j r");
    pause(0.3);
    program.keys("Escape");
    const Ending ending = program.wait(10);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(ending.err, "");
}

TEST(Program, WithoutADisplayItSaysSoAndEndsWithStatusOne) {
    for (const char* terminal : {"TERM=xterm", "TERM="}) {
        SCOPED_TRACE(terminal);
        RunningProgram program(false, {terminal, "SDL_AUDIODRIVER=dummy"});
        const Ending ending = program.wait(10);
        EXPECT_EQ(ending.status, 1);
        EXPECT_EQ(ending.out, kControls);
        const std::string first = "Couldn't set video mode!\n";
        ASSERT_EQ(ending.err.compare(0, first.size(), first), 0) << ending.err;
        const std::string reason = ending.err.substr(first.size());
        EXPECT_GT(reason.size(), 1u);
        EXPECT_EQ(reason.find('\n'), reason.size() - 1) << "one line of SDL's own text";
    }
}

TEST(Program, RunsWithoutAnAudioDevice) {
    RunningProgram program(true, {"SDL_AUDIODRIVER=no-such-device"});
    ASSERT_TRUE(program.waitForWindow());
    EXPECT_GT(program.screenshot().count(kJawA), 100);
    program.keys("Escape");
    const Ending ending = program.wait(10);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(ending.out, kControls);
}
