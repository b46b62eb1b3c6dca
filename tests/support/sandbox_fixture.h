// A Sandbox with its physics world but no window: SDL runs on its dummy
// video and audio drivers, so the event queue and the clock work. Any
// complaint from the physics engine fails the test.
#pragma once

#include "sandbox.h"

#include <gtest/gtest.h>

#include <memory>

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Steps the world at 60 passes per second, the way the main loop does.
    void simulate(double seconds);

    void press(SDLKey key, SDLMod modifiers = KMOD_NONE);
    void release(SDLKey key);
    void click(Uint8 button, Uint8 state = SDL_PRESSED);
    void moveMouse(Sint16 xrel, Sint16 yrel);

    // Every body in the world that is not a jaw or the ground, counted
    // through the space.
    int countBodies() const;

    std::unique_ptr<Sandbox> sandbox;
};

Float3 position(dBodyID body);
Float3 position(dGeomID geom);
Float3 toFloat3(const dReal* v);

// Whether a point lies within the tolerance of where it should, on every axis.
::testing::AssertionResult isAt(Float3 actual, Float3 expected, float tolerance = 1e-5f);
