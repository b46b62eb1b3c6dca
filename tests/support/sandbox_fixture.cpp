#include "support/sandbox_fixture.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

char programName[] = "bramblewick-test";
char* testArgv[] = {programName, nullptr};

void failOnMessage(int errnum, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    ADD_FAILURE() << "physics engine message " << errnum << ": " << text;
}

void startHeadlessSdl() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SDL_Init(SDL_INIT_VIDEO);
}

}  // namespace

void SandboxTest::SetUp() {
    startHeadlessSdl();
    dSetMessageHandler(failOnMessage);
    dSetErrorHandler(failOnMessage);
    dSetDebugHandler(failOnMessage);
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
    sandbox = std::make_unique<Sandbox>(1, testArgv);
    sandbox->initPhysics();
}

void SandboxTest::TearDown() {
    sandbox->destroyPhysics();
    sandbox.reset();
}

void SandboxTest::simulate(double seconds) {
    const int passes = static_cast<int>(seconds * 60.0 + 0.5);
    for (int i = 0; i < passes; ++i) {
        sandbox->frameSeconds = 1.0 / 60.0;
        sandbox->stepPhysics();
    }
}

void SandboxTest::press(SDLKey key, SDLMod modifiers) {
    SDL_KeyboardEvent event{};
    event.type = SDL_KEYDOWN;
    event.state = SDL_PRESSED;
    event.keysym.sym = key;
    event.keysym.mod = modifiers;
    sandbox->onKey(event);
}

void SandboxTest::release(SDLKey key) {
    SDL_KeyboardEvent event{};
    event.type = SDL_KEYUP;
    event.state = SDL_RELEASED;
    event.keysym.sym = key;
    sandbox->onKey(event);
}

void SandboxTest::click(Uint8 button, Uint8 state) {
    SDL_MouseButtonEvent event{};
    event.type = state == SDL_PRESSED ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button = button;
    event.state = state;
    sandbox->onMouseButton(event);
}

void SandboxTest::moveMouse(Sint16 xrel, Sint16 yrel) {
    SDL_MouseMotionEvent event{};
    event.type = SDL_MOUSEMOTION;
    event.xrel = xrel;
    event.yrel = yrel;
    sandbox->onMouseMotion(event);
}

int SandboxTest::countBodies() const {
    int bodies = 0;
    for (int i = 0; i < dSpaceGetNumGeoms(sandbox->space); ++i) {
        if (dGeomGetBody(dSpaceGetGeom(sandbox->space, i)) != nullptr) ++bodies;
    }
    return bodies;
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

::testing::AssertionResult isAt(Float3 actual, Float3 expected, float tolerance) {
    if (std::abs(actual.x - expected.x) <= tolerance &&
        std::abs(actual.y - expected.y) <= tolerance &&
        std::abs(actual.z - expected.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "at (" << actual.x << ", " << actual.y << ", " << actual.z << "), expected ("
           << expected.x << ", " << expected.y << ", " << expected.z << ")";
}
