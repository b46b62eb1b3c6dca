// What the tests drive the sandbox with: in process with no window, in its real window, and the
// real program.
#pragma once

#include "sandbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A key (a: key, b: modifiers), a button (a), a motion (a, b: relative x, y) or a user event (a:
// code).
SDL_Event event(Uint8 type, int a = 0, int b = 0);
inline Float3 toFloat3(const dReal* v) {
    return {float(v[0]), float(v[1]), float(v[2])};
}
inline Float3 position(dBodyID body) {
    return toFloat3(dBodyGetPosition(body));
}
inline Float3 position(dGeomID geom) {
    return toFloat3(dGeomGetPosition(geom));
}
::testing::AssertionResult isAt(Float3 actual, Float3 expected, float tolerance = 1e-5f);

// SDL on dummy drivers; input goes through its queue and the event pass. A physics engine message
// fails the test.
class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { sandbox->destroyPhysics(); }
    void send(std::initializer_list<SDL_Event> events);  // queued, then one event pass
    void tap(SDLKey key, SDLMod m = KMOD_NONE) {
        send({event(SDL_KEYDOWN, key, m), event(SDL_KEYUP, key, m)});
    }
    void click(Uint8 b) { send({event(SDL_MOUSEBUTTONDOWN, b), event(SDL_MOUSEBUTTONUP, b)}); }
    void simulate(double seconds);  // at 60 passes a second
    std::unique_ptr<Sandbox> sandbox;
};

struct Pixel {
    int r, g, b;
};
::testing::AssertionResult isColour(Pixel pixel, Float3 colour, int tolerance = 2);  // out of 255

// In the real window on $DISPLAY, beside the program's camera the promised one from start-up:
// anchors trailing the tool frame by frame, the eye 40 back along +x and 40 up, looking 15 along
// -x, a 45° lens, planes at 10 and 1000.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void drawFrame();  // by the program, read back from the window
    // Window coordinates, depth last: where the promised camera puts a point, or the program's last
    // frame did.
    std::vector<double> promisedAt(Float3 point) const;
    std::vector<double> programAt(Float3 point) const;  // by the matrices GL holds
    Pixel pixelAt(Float3 point) const;
    std::unique_ptr<Sandbox> sandbox;
    double eye[3] = {0, 0, 0}, look[3] = {0, 0, 0};
    std::vector<unsigned char> frame;
};

using Screenshot =
    std::function<int(const std::function<bool(int r, int g, int b)>&)>;  // how many pixels pass
struct Ending {
    int status = -1;
    std::string out, err;
};  // status -1: it did not end in time

// The real program on $DISPLAY, started by the shell with `settings` for env (e.g. "-u DISPLAY
// A=b").
class RunningProgram {
public:
    explicit RunningProgram(const std::string& settings = "SDL_AUDIODRIVER=dummy",
                            const std::string& arguments = "");
    ~RunningProgram();
    bool waitForWindow() const;  // titled "Bramblewick", up and drawing
    void x(const std::string& xdotoolCommand) const { run("xdotool " + xdotoolCommand); }
    bool waitUntil(const std::function<bool(const Screenshot&)>& check) const;  // for up to 30 s
    Ending wait(double seconds) const;
    static std::string run(const std::string& command);

private:
    std::string dir_;
};
