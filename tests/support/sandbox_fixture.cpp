#include "support/fixtures.h"

#include <cmath>
#include <cstdio>

SDL_Event event(Uint8 type, int a, int b) {
    SDL_Event e{};
    e.type = type;
    const bool down = type == SDL_KEYDOWN || type == SDL_MOUSEBUTTONDOWN;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) e.key = {type, 0, down, {0, SDLKey(a), SDLMod(b), 0}};
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) e.button = {type, 0, Uint8(a), down, 0, 0};
    if (type == SDL_MOUSEMOTION) e.motion = {type, 0, 0, 0, 0, Sint16(a), Sint16(b)};
    if (type == SDL_USEREVENT) e.user.code = a;
    return e;
}

Float3 toFloat3(const dReal* v) { return {float(v[0]), float(v[1]), float(v[2])}; }
Float3 position(dBodyID body) { return toFloat3(dBodyGetPosition(body)); }
Float3 position(dGeomID geom) { return toFloat3(dGeomGetPosition(geom)); }

::testing::AssertionResult isAt(Float3 a, Float3 e, float tolerance) {
    if (std::abs(a.x - e.x) <= tolerance && std::abs(a.y - e.y) <= tolerance && std::abs(a.z - e.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "at (" << a.x << ", " << a.y << ", " << a.z << "), not (" << e.x << ", "
                                         << e.y << ", " << e.z << ")";
}

void SandboxTest::SetUp() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!SDL_WasInit(SDL_INIT_VIDEO)) SDL_Init(SDL_INIT_VIDEO);
    for (auto handler : {dSetMessageHandler, dSetErrorHandler, dSetDebugHandler}) {
        handler([](int, const char* format, va_list args) {
            char text[512];
            std::vsnprintf(text, sizeof text, format, args);
            ADD_FAILURE() << "physics engine: " << text;
        });
    }
    dRandSetSeed(0);  // the solver shuffles its constraints with it: every test runs alike
    static char name[] = "bramblewick-test", *argv[] = {name, nullptr};
    sandbox = std::make_unique<Sandbox>(1, argv);
    sandbox->initPhysics();
}

void SandboxTest::send(std::initializer_list<SDL_Event> events) {
    for (SDL_Event e : events) ASSERT_EQ(SDL_PushEvent(&e), 0);
    sandbox->handleEvents();
}

void SandboxTest::tap(SDLKey key, SDLMod modifiers) {
    send({event(SDL_KEYDOWN, key, modifiers), event(SDL_KEYUP, key, modifiers)});
}

void SandboxTest::click(Uint8 button) { send({event(SDL_MOUSEBUTTONDOWN, button), event(SDL_MOUSEBUTTONUP, button)}); }

void SandboxTest::simulate(double seconds) {
    for (long pass = std::lround(seconds * 60); pass > 0; --pass) {
        sandbox->frameSeconds = 1.0 / 60;
        sandbox->stepPhysics();
    }
}
