#include "support/sandbox_fixture.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

char programName[] = "bramblewick-test";
char* testArgv[] = {programName, nullptr};

void failOnMessage(int errnum, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    ADD_FAILURE() << "physics engine message " << errnum << ": " << text;
}

}  // namespace

void SandboxTest::SetUp() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_Init(SDL_INIT_VIDEO);
    dSetMessageHandler(failOnMessage);
    dSetErrorHandler(failOnMessage);
    dSetDebugHandler(failOnMessage);
    sandbox = std::make_unique<Sandbox>(1, testArgv);
    sandbox->initPhysics();
}

void SandboxTest::TearDown() {
    sandbox->destroyPhysics();
    SDL_Event left;
    while (SDL_PollEvent(&left)) {
    }
}

void SandboxTest::send(std::initializer_list<SDL_Event> events) {
    for (SDL_Event event : events) ASSERT_EQ(SDL_PushEvent(&event), 0);
    sandbox->handleEvents();
}

void SandboxTest::tap(SDLKey key, SDLMod modifiers) {
    send({keyEvent(key, true, modifiers), keyEvent(key, false, modifiers)});
}

void SandboxTest::click(Uint8 button) {
    send({buttonEvent(button, true), buttonEvent(button, false)});
}

void SandboxTest::simulate(double seconds) {
    for (int i = 0; i < std::lround(seconds * 60); ++i) {
        sandbox->frameSeconds = 1.0 / 60;
        sandbox->stepPhysics();
    }
}

SDL_Event keyEvent(SDLKey key, bool pressed, SDLMod modifiers) {
    SDL_Event event{};
    event.type = event.key.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event buttonEvent(Uint8 button, bool pressed) {
    SDL_Event event{};
    event.type = event.button.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event motionEvent(Sint16 xrel, Sint16 yrel) {
    SDL_Event event{};
    event.type = event.motion.type = SDL_MOUSEMOTION;
    event.motion.xrel = xrel;
    event.motion.yrel = yrel;
    return event;
}

SDL_Event userEvent(int code) {
    SDL_Event event{};
    event.type = event.user.type = SDL_USEREVENT;
    event.user.code = code;
    return event;
}

Float3 toFloat3(const dReal* v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

Float3 position(dBodyID body) {
    return toFloat3(dBodyGetPosition(body));
}

Float3 position(dGeomID geom) {
    return toFloat3(dGeomGetPosition(geom));
}

::testing::AssertionResult isAt(Float3 a, Float3 e, float tolerance) {
    if (std::abs(a.x - e.x) <= tolerance && std::abs(a.y - e.y) <= tolerance &&
        std::abs(a.z - e.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "at (" << a.x << ", " << a.y << ", " << a.z
                                         << "), expected (" << e.x << ", " << e.y << ", " << e.z
                                         << ")";
}
