#include "support/fixtures.h"

#include "render/camera.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

SDL_Event event(Uint8 type, int a, int b) {
    SDL_Event e{};
    e.type = type;
    const bool down = type == SDL_KEYDOWN || type == SDL_MOUSEBUTTONDOWN;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP)
        e.key = {type, 0, down, {0, SDLKey(a), SDLMod(b), 0}};
    if (type == SDL_MOUSEBUTTONDOWN || type == SDL_MOUSEBUTTONUP)
        e.button = {type, 0, Uint8(a), down, 0, 0};
    if (type == SDL_MOUSEMOTION) e.motion = {type, 0, 0, 0, 0, Sint16(a), Sint16(b)};
    if (type == SDL_USEREVENT) e.user.code = a;
    return e;
}

::testing::AssertionResult isAt(Float3 a, Float3 e, float tolerance) {
    const bool near = std::abs(a.x - e.x) <= tolerance && std::abs(a.y - e.y) <= tolerance &&
                      std::abs(a.z - e.z) <= tolerance;
    return (near ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << "at (" << a.x << ", " << a.y << ", " << a.z << "), not (" << e.x << ", " << e.y
           << ", " << e.z << ")";
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

void SandboxTest::simulate(double seconds) {
    for (long pass = std::lround(seconds * 60); pass > 0; --pass) {
        sandbox->frameSeconds = 1.0 / 60;
        sandbox->stepPhysics();
    }
}

::testing::AssertionResult isColour(Pixel p, Float3 c, int tolerance) {  // in 255ths
    return isAt({float(p.r), float(p.g), float(p.b)},
                {std::round(c.x * 255), std::round(c.y * 255), std::round(c.z * 255)}, tolerance);
}

void WindowTest::SetUp() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    eyeAnchor = lookAnchor = {0, 0, 0};
    static char name[] = "bramblewick-window-test", *argv[] = {name, nullptr};
    sandbox = std::make_unique<Sandbox>(1, argv);
    sandbox->initVideo();
    sandbox->initGraphics();
    sandbox->initPhysics();
}

void WindowTest::TearDown() {  // each test gets a window and a GL context of its own
    sandbox->destroyPhysics();
    gluDeleteQuadric(sandbox->quadric);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowTest::drawFrame() {
    const double tool[] = {sandbox->toolPosition.x, sandbox->toolPosition.y,
                           sandbox->toolPosition.z};
    for (int a = 0; a < 3; ++a) {
        eye[a] = float(eye[a] - (eye[a] - tool[a]) * 0.0075f);
        look[a] = float(look[a] - (look[a] - tool[a]) * 0.05f);
    }
    sandbox->render();
    frame.assign(1024 * 768 * 3, 0);
    glReadBuffer(GL_BACK);  // the software renderer keeps it through the swap
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
}

std::vector<double> WindowTest::promisedAt(Float3 point) const {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 768.0, 10, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eye[0] + 40, eye[1], eye[2] + 40, look[0] - 15, look[1], look[2], 0, 0, 1);
    const std::vector<double> at = programAt(point);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return at;
}

std::vector<double> WindowTest::programAt(Float3 p) const {
    GLdouble model[16], projection[16], x, y, z;
    const GLint viewport[] = {0, 0, 1024, 768};
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
    return {x, y, z};
}

Pixel WindowTest::pixelAt(Float3 point) const {
    const std::vector<double> w = promisedAt(point);
    const long x = std::lround(w[0]), y = std::lround(w[1]);
    if (x < 0 || y < 0 || x >= 1024 || y >= 768) return {-1, -1, -1};
    const unsigned char* p = &frame[(y * 1024 + x) * 3];
    return {p[0], p[1], p[2]};
}

namespace {

bool within(double seconds, const std::function<bool()>& done) {
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(long(seconds * 1000));
    for (; steady_clock::now() < end; std::this_thread::sleep_for(milliseconds(50)))
        if (done()) return true;
    return false;
}

}  // namespace

// The shell keeps the program's output, its exit status once it ends, and its own process number to
// stop it by.
RunningProgram::RunningProgram(const std::string& settings, const std::string& arguments)
    : dir_(run("mktemp -d /tmp/bramblewick-test-XXXXXX | tr -d '\\n'")) {
    run("(env " + settings + " " BRAMBLEWICK_PROGRAM " " + arguments + " >" + dir_ + "/out 2>" +
        dir_ + "/err; echo $? >" + dir_ + "/status) >/dev/null & echo $! >" + dir_ + "/shell");
}

RunningProgram::~RunningProgram() {
    run("pkill -KILL -P $(cat " + dir_ + "/shell); rm -rf " + dir_);
}

std::string RunningProgram::run(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    char buffer[1 << 16];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
    return output;
}

bool RunningProgram::waitForWindow() const {
    return waitUntil([](const Screenshot& s) {
        return s([](int r, int g, int b) { return r + g + b > 0; }) > 0 &&
               run("xdotool search --name '^Bramblewick$'") != "";
    });
}

bool RunningProgram::waitUntil(const std::function<bool(const Screenshot&)>& check) const {
    return within(30, [&] {
        const std::string rgb = run("import -window root -depth 8 rgb:-");
        return check([&](const std::function<bool(int, int, int)>& pass) {
            int n = 0;
            for (size_t i = 0; i + 2 < rgb.size(); i += 3)
                n += pass(uint8_t(rgb[i]), uint8_t(rgb[i + 1]), uint8_t(rgb[i + 2]));
            return n;
        });
    });
}

Ending RunningProgram::wait(double seconds) const {
    const bool ended = within(seconds, [&] { return !run("cat " + dir_ + "/status").empty(); });
    return {ended ? std::stoi(run("cat " + dir_ + "/status")) : -1, run("cat " + dir_ + "/out"),
            run("cat " + dir_ + "/err")};
}
