// The program as a user meets it: what it prints, its window and what keys
// and clicks put into it, and every way it ends. Objects are told apart by
// their hue, which their lit and mirrored pixels share.
#include "support/running_program.h"

#include <gtest/gtest.h>

#include <cmath>

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

// The dummy driver keeps this machine's missing sound card quiet; the
// program plays nothing either way.
const std::vector<std::string> kQuietAudio = {"SDL_AUDIODRIVER=dummy"};

// Pixels of the hue of (r, g, b), bright enough to tell from black.
int count(const Screenshot& shot, float r, float g, float b) {
    return shot.count([=](int pr, int pg, int pb) {
        const double k = (pr * r + pg * g + pb * b) / (r * r + g * g + b * b);
        const double tolerance = 0.08 * k + 4;
        return k * std::fmax(r, std::fmax(g, b)) >= 24 && std::abs(pr - k * r) <= tolerance &&
               std::abs(pg - k * g) <= tolerance && std::abs(pb - k * b) <= tolerance;
    });
}

int jaws(const Screenshot& s) { return count(s, 1, 1, 0); }
int emptyBox(const Screenshot& s) { return count(s, 0.5f, 1, 0.75f); }
int projectiles(const Screenshot& s) { return count(s, 1, 0.75f, 0.25f); }

void expectOrdinaryEnd(RunningProgram& program) {
    const Ending ending = program.wait(10);
    EXPECT_EQ(ending.status, 0);
    EXPECT_EQ(ending.out, kControls);
    EXPECT_EQ(ending.err, "");
}

}  // namespace

// One session: the window comes up holding the pointer; keys and clicks
// through the X server switch the mirror images, drop and fire things, and
// r clears it all; Escape ends it.
TEST(ProgramTest, KeysAndClicksShapeTheSceneAndEscapeEndsIt) {
    XvfbServer server;
    RunningProgram program(&server, kQuietAudio);
    ASSERT_TRUE(program.waitForWindow());
    EXPECT_EQ(program.windowName(), "Bramblewick");
    EXPECT_TRUE(program.holdsThePointer());

    const int withImages = jaws(program.screenshot());
    EXPECT_GT(withImages, 1000);
    program.keys("s");
    EXPECT_TRUE(program.waitUntil([&](const Screenshot& s) { return jaws(s) < withImages * 2 / 3; }));
    program.keys("s");
    EXPECT_TRUE(program.waitUntil([&](const Screenshot& s) { return jaws(s) > withImages * 2 / 3; }));

    program.keys("2");
    EXPECT_TRUE(program.waitUntil([](const Screenshot& s) { return emptyBox(s) > 2000; }));
    program.click(1);
    EXPECT_TRUE(program.waitUntil([](const Screenshot& s) { return projectiles(s) > 1000; }));
    program.keys("r");
    EXPECT_TRUE(program.waitUntil([](const Screenshot& s) {
        return emptyBox(s) < 100 && projectiles(s) < 600;
    }));
    program.keys("Escape");
    expectOrdinaryEnd(program);
}

TEST(ProgramTest, ClosingTheWindowEndsItWithStatusZero) {
    XvfbServer server;
    RunningProgram program(&server, kQuietAudio);
    ASSERT_TRUE(program.waitForWindow());
    program.closeWindow();
    expectOrdinaryEnd(program);
}

TEST(ProgramTest, RunsSilentWithoutAnAudioDevice) {
    XvfbServer server;
    RunningProgram program(&server, {"SDL_AUDIODRIVER=no-such-device"});
    ASSERT_TRUE(program.waitForWindow());
    EXPECT_GT(jaws(program.screenshot()), 1000);
    program.keys("Escape");
    EXPECT_EQ(program.wait(10).status, 0);
}

// Without a display, or on a video driver that cannot draw with OpenGL,
// the window cannot open: the program says so on two lines and ends with
// status 1. A video driver the user names is the one it tries.
TEST(ProgramTest, WhenTheWindowCannotOpenItSaysSoAndEndsWithStatusOne) {
    XvfbServer server;
    const struct {
        const XvfbServer* server;
        std::vector<std::string> environment;
    } starts[] = {
        {nullptr, {"TERM=xterm", "SDL_AUDIODRIVER=dummy"}},
        {nullptr, {"TERM=", "SDL_AUDIODRIVER=dummy"}},
        {&server, {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"}},
    };
    for (const auto& start : starts) {
        SCOPED_TRACE(start.environment[0]);
        RunningProgram program(start.server, start.environment);
        const Ending ending = program.wait(10);
        EXPECT_EQ(ending.status, 1);
        EXPECT_EQ(ending.out, kControls);
        const std::string first = "Couldn't set video mode!\n";
        ASSERT_EQ(ending.err.substr(0, first.size()), first) << ending.err;
        const std::string reason = ending.err.substr(first.size());
        EXPECT_GT(reason.size(), 1u);
        EXPECT_EQ(reason.find('\n'), reason.size() - 1) << "one line of SDL's own text";
    }
}
