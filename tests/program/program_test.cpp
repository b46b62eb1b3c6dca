// The program as a user meets it on the test's own X server: what it prints, its window and what
// keys and clicks put into it, and every way it ends. Objects are told by their hue, which lit and
// mirrored pixels share.
#include "support/fixtures.h"

#include <cmath>

namespace {

// The controls text, as the README shows it, indented by four spaces.
const std::string kControls = RunningProgram::run(
    "sed -n '/^    Keyboard Controls:/,/^     Moving the Mouse/{s/^    "
    "//;p}' " BRAMBLEWICK_SOURCE_DIR "/README.md");

// Pixels of the hue of (r, g, b), bright enough to tell from black.
std::function<int(const Screenshot&)> hue(float r, float g, float b) {
    return [=](const Screenshot& shot) {
        return shot([=](int pr, int pg, int pb) {
            const double k = (pr * r + pg * g + pb * b) / (r * r + g * g + b * b),
                         off = 0.08 * k + 4;
            return k * std::fmax(r, std::fmax(g, b)) >= 24 && std::abs(pr - k * r) <= off &&
                   std::abs(pg - k * g) <= off && std::abs(pb - k * b) <= off;
        });
    };
}
const auto emptyBox = hue(0.5f, 1, 0.75f), projectiles = hue(1, 0.75f, 0.25f);

// The controls on standard output, and on standard error nothing, or the video-mode failure and its
// one-line reason.
void expectEnding(const Ending& ending, int status) {
    const std::string first = "Couldn't set video mode!\n",
                      reason = ending.err.substr(std::min(first.size(), ending.err.size()));
    EXPECT_TRUE(ending.status == status && ending.out == kControls)
        << ending.status << ": " << ending.out;
    EXPECT_TRUE(status == 0 ? ending.err.empty()
                            : ending.err.rfind(first, 0) == 0 && reason.size() > 1 &&
                                  reason.find('\n') == reason.size() - 1)
        << ending.err;
}

}  // namespace

// Keys and clicks through the X server drop and fire things, and r clears them, whatever the state
// of the sound device and whatever GLUT's own options on the command line: the program reads none.
// A second copy cannot take the screen while the first holds the pointer: it says so within seconds
// and leaves the first undisturbed.
TEST(ProgramTest, KeysAndClicksShapeTheSceneAndEscapeEndsIt) {
    RunningProgram program("SDL_AUDIODRIVER=no-such-device",
                           "-display :58 -geometry 10x10 -gldebug");
    ASSERT_TRUE(program.waitForWindow());
    expectEnding(RunningProgram().wait(15), 1);
    program.x("key 2");
    EXPECT_TRUE(program.waitUntil([](const Screenshot& s) { return emptyBox(s) > 2000; }));
    program.x("click 1");
    EXPECT_TRUE(program.waitUntil([](const Screenshot& s) { return projectiles(s) > 1000; }));
    program.x("key r");
    EXPECT_TRUE(program.waitUntil(
        [](const Screenshot& s) { return emptyBox(s) < 100 && projectiles(s) < 600; }));
    program.x("key Escape");
    expectEnding(program.wait(10), 0);
}

// Without a display, or on a video driver the user names that cannot draw with OpenGL, the window
// cannot open.
TEST(ProgramTest, WhenTheWindowCannotOpenItSaysSoOnTwoLinesAndEndsWithStatusOne) {
    for (const char* settings :
         {"-u DISPLAY TERM=xterm", "-u DISPLAY -u TERM", "SDL_VIDEODRIVER=dummy"}) {
        SCOPED_TRACE(settings);
        expectEnding(RunningProgram(settings + std::string(" SDL_AUDIODRIVER=dummy")).wait(10), 1);
    }
}
