// What the tests drive the sandbox with: in process with no window, and in its real window.
#pragma once

#include "sandbox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A key (a: key, b: modifiers), a button (a), a motion (a, b: relative x, y) or a user event (a).
SDL_Event event(int type, int a = 0, int b = 0);
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
long residentMegabytes();  // of this process, as the system counts them (a page: its heap in use)

// A sandbox with its world, on SDL's dummy video driver; input through SDL's queue and the event
// pass. A physics engine message fails the test.
class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override { start(false); }
    void TearDown() override { sandbox->destroyPhysics(); }
    void start(bool window);
    void send(std::initializer_list<SDL_Event> events);  // queued, then one event pass
    void tap(SDLKey key) { send({event(SDL_KEYDOWN, key), event(SDL_KEYUP, key)}); }
    void click(Uint8 b) { send({event(SDL_MOUSEBUTTONDOWN, b), event(SDL_MOUSEBUTTONUP, b)}); }
    void simulate(double seconds);  // at 60 passes a second
    std::unique_ptr<Sandbox> sandbox;
};

struct Pixel {
    int r, g, b;
};
::testing::AssertionResult isColour(Pixel pixel, Float3 colour, int tolerance = 2);  // of 255
::testing::AssertionResult isDrawn(Pixel pixel);  // brighter than the black background

// In a real window of its own on $DISPLAY, the events of its opening dropped.
class WindowTest : public SandboxTest {
protected:
    void SetUp() override { start(true); }
    void TearDown() override;
    void drawFrame();                                  // by the program, read back from the window
    std::vector<double> windowAt(Float3 point) const;  // x, y and depth, by the frame's camera
    Pixel pixelAt(Float3 point) const;                 // of the last frame
    std::vector<unsigned char> frame;
};
