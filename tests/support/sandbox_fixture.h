// A Sandbox with its physics world but no window: SDL runs its dummy video
// and audio drivers, so the event queue and the clock are SDL's own. Input
// goes through SDL's queue and the main loop's event pass, as a user's does.
// Any message from the physics engine fails the test.
#pragma once

#include "sandbox.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

class SandboxTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Queues the events and runs one event pass over them.
    void send(std::initializer_list<SDL_Event> events);
    // A key or a button pressed and released, in one event pass.
    void tap(SDLKey key, SDLMod modifiers = KMOD_NONE);
    void click(Uint8 button);
    // Steps the world at 60 passes a second.
    void simulate(double seconds);

    std::unique_ptr<Sandbox> sandbox;
};

SDL_Event keyEvent(SDLKey key, bool pressed, SDLMod modifiers = KMOD_NONE);
SDL_Event buttonEvent(Uint8 button, bool pressed);
SDL_Event motionEvent(Sint16 xrel, Sint16 yrel);
SDL_Event userEvent(int code);

Float3 position(dBodyID body);
Float3 position(dGeomID geom);
Float3 toFloat3(const dReal* v);
::testing::AssertionResult isAt(Float3 actual, Float3 expected, float tolerance = 1e-5f);
