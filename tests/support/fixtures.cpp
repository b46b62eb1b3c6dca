#include "support/fixtures.h"

#include "render/camera.h"

#include <cmath>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#elif defined(__EMSCRIPTEN__)
#include <malloc.h>
#else
#include <unistd.h>

#include <fstream>
#endif

// By field name: the records' layouts and the width of their fields differ between SDL builds.
SDL_Event event(int type, int a, int b) {
    SDL_Event e{};
    e.type = type;
    const Uint8 state =
        type == SDL_KEYDOWN || type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        e.key.state = state;
        e.key.keysym.sym = SDLKey(a);
        e.key.keysym.mod = SDLMod(b);
    } else if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP) {
        e.button.button = Uint8(a);
        e.button.state = state;
    } else if (type == SDL_MOUSEMOTION) {
        e.motion.xrel = Sint16(a);
        e.motion.yrel = Sint16(b);
    } else {
        e.user.code = a;
    }
    return e;
}

::testing::AssertionResult isAt(Float3 a, Float3 e, float tolerance) {
    const float off =
        std::fmax(std::fabs(a.x - e.x), std::fmax(std::fabs(a.y - e.y), std::fabs(a.z - e.z)));
    return (off <= tolerance ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "at (" << a.x << ", " << a.y << ", " << a.z << "), expected (" << e.x << ", " << e.y
           << ", " << e.z << ")";
}

long residentMegabytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return long(counters.WorkingSetSize >> 20);
#elif defined(__EMSCRIPTEN__)
    // A page's memory only grows: what counts is how much of it is in use.
    return long(mallinfo().uordblks) >> 20;
#else
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) >> 20;
#endif
}

void SandboxTest::start(bool window) {
    static char dummyAudio[] = "SDL_AUDIODRIVER=dummy", dummyVideo[] = "SDL_VIDEODRIVER=dummy";
    SDL_putenv(window ? dummyAudio : dummyVideo);  // kept, not copied, where it is putenv
    for (auto handler : {dSetMessageHandler, dSetErrorHandler, dSetDebugHandler}) {
        handler([](int, const char* format, va_list args) {
            char text[512];
            std::vsnprintf(text, sizeof text, format, args);
            ADD_FAILURE() << "physics engine: " << text;
        });
    }
    dRandSetSeed(0);  // the solver shuffles its constraints with it: every test runs alike
    static char name[] = "bramblewick-test";
    static char* argv[] = {name, nullptr};
    sandbox = std::make_unique<Sandbox>(1, argv);
    if (!window && !SDL_WasInit(SDL_INIT_VIDEO)) SDL_Init(SDL_INIT_VIDEO);
    if (window) sandbox->initVideo();
    if (window) sandbox->initGraphics();
    eyeAnchor = lookAnchor = {0, 0, 0};  // the camera's, as at start-up
    sandbox->initPhysics();
    for (SDL_Event e; SDL_PollEvent(&e);) {}  // the window's own, such as the pointer's warp
}

void SandboxTest::send(std::initializer_list<SDL_Event> events) {
    for (SDL_Event e : events) ASSERT_EQ(SDL_PushEvent(&e), 0);
    sandbox->handleEvents();
}

void SandboxTest::simulate(double seconds) {
    for (long pass = std::lround(seconds * 60); pass > 0; --pass) {
        sandbox->frameSeconds = 1.0 / 60;
        sandbox->stepPhysics();
    }
}

::testing::AssertionResult isColour(Pixel p, Float3 c, int tolerance) {
    return isAt({float(p.r), float(p.g), float(p.b)},
                {std::round(c.x * 255), std::round(c.y * 255), std::round(c.z * 255)}, tolerance);
}

::testing::AssertionResult isDrawn(Pixel p) {
    return (p.r + p.g + p.b > 20 ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "the pixel is (" << p.r << ", " << p.g << ", " << p.b << ")";
}

void WindowTest::TearDown() {  // each test gets a window and a GL context of its own
    sandbox->destroyPhysics();
    gluDeleteQuadric(sandbox->quadric);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowTest::drawFrame() {
    sandbox->render();
    frame.assign(1024 * 768 * 3, 0);
    glReadBuffer(GL_BACK);  // the software renderer keeps it through the swap
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
}

std::vector<double> WindowTest::windowAt(Float3 p) const {
    GLdouble model[16], projection[16], x, y, z;
    const GLint viewport[] = {0, 0, 1024, 768};
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
    return {x, y, z};
}

Pixel WindowTest::pixelAt(Float3 point) const {
    const std::vector<double> w = windowAt(point);
    const long x = std::lround(w[0]), y = std::lround(w[1]);
    if (x < 0 || y < 0 || x >= 1024 || y >= 768) return {-1, -1, -1};
    const unsigned char* p = &frame[(y * 1024 + x) * 3];
    return {p[0], p[1], p[2]};
}
