// The real program under a long, seeded random stream of input: the real
// start-up and the real main loop in a full-screen window on a private X
// server, fed through SDL's ordinary event queue with every key the sandbox
// knows and many it does not, extreme mouse motions, wheel runs far below
// the floor and far up, all five buttons, resets in the middle of
// everything, user events with random codes, event types the loop ignores
// and, at the end, a quit.
//
// After every pass the driver compares the lists and the collision space
// with what its own events asked for; after a reset that means empty lists
// and a space with nothing but the jaws and the ground. The first mismatch
// ends the run with status 1; a crash or an abort ends it by signal.
//
//   reliability_soak [--seed N] [--passes N | --minutes M] [--max-bodies N]
#include "reliability/scene_census.h"
#include "support/xvfb.h"

#include <dlfcn.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

struct Options {
    unsigned seed = 1;
    long passes = 3000;
    double minutes = 0;     // when set, runs this long instead of a number of passes
    int maxBodies = 2500;   // a drop that would pass this presses r instead
};

// One key the sandbox acts on, how often the stream presses it, and what a
// press adds to the world.
struct KnownKey {
    SDLKey key;
    int weight;
    int Census::*count;  // null for keys that add nothing
    int bodies;
};

const KnownKey kKnownKeys[] = {
    {SDLK_r, 3, nullptr, 0},
    {SDLK_s, 2, nullptr, 0},
    {SDLK_j, 2, nullptr, 0},
    {SDLK_q, 3, nullptr, 0},
    {SDLK_e, 3, nullptr, 0},
    {SDLK_1, 1, &Census::sphereBoxes, kBlockPieces},
    {SDLK_2, 1, &Census::emptyBoxes, kEmptyBoxNodes},
    {SDLK_3, 1, &Census::softCylinders, kCylinderNodes},
    {SDLK_4, 1, &Census::cloths, kClothNodes},
    {SDLK_5, 2, &Census::staticSpheres, 0},
    {SDLK_6, 1, &Census::boxBoxes, kBlockPieces},
    {SDLK_0, 3, &Census::beans, 1},
};

constexpr int kReservedTypes[] = {14, 15, 18, 19, 20, 21, 22, 23};
constexpr int kMaxBatch = 100;  // SDL 1.2's queue holds 128 events

class Soak {
public:
    Soak(Sandbox& sandbox, const Options& options)
        : sandbox_(sandbox), options_(options), random_(options.seed),
          start_(std::chrono::steady_clock::now()), lastReport_(start_) {}

    // Runs at the end of every pass, right after its frame was shown.
    void afterPass();
    // Checks how the loop ended; returns the process's exit status.
    int finish();

private:
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    void check();
    void fail(const std::string& what);
    bool done() const;
    void report(const char* when);

    void queueBatch();
    void push(SDL_Event event);
    void pushKey(SDLKey key, bool pressed);
    void pushKnownKey();
    void pushUnknownKey();
    void pushMotion();
    void pushButton(Uint8 button, bool pressed);
    void pushUserEvent(int code);
    void pushIgnored();
    void pushQuit();
    Sint16 extremeOrRandom();
    void resetExpected() { expected_ = Census{}; ++resets_; }

    Sandbox& sandbox_;
    Options options_;
    std::mt19937 random_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastReport_;

    Census expected_;
    bool resetQueued_ = false;  // an r press in this batch resets after it
    bool quitQueued_ = false;
    long passes_ = 0;
    long events_ = 0;
    long resets_ = 0;
    int mostBodies_ = 0;
    int wheelRun_ = 0;          // passes left in a run of wheel events
    Uint8 wheelButton_ = SDL_BUTTON_WHEELUP;
};

Soak* soak = nullptr;

}  // namespace

// Every pass of the real loop ends in this swap; the driver looks at the
// pass that just ended and queues the events for the next one.
extern "C" void SDL_GL_SwapBuffers(void) {
    using Swap = void (*)();
    static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    real();
    if (soak != nullptr) soak->afterPass();
}

namespace {

void Soak::afterPass() {
    ++passes_;
    check();
    if (quitQueued_) {
        if (sandbox_.running) fail("the loop goes on after a quit");
        return;
    }
    if (done()) {
        pushQuit();
        return;
    }
    queueBatch();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastReport_ >= std::chrono::minutes(1)) {
        lastReport_ = now;
        report("running");
    }
}

bool Soak::done() const {
    if (options_.minutes <= 0) return passes_ >= options_.passes;
    const std::chrono::duration<double, std::ratio<60>> elapsed =
        std::chrono::steady_clock::now() - start_;
    return elapsed.count() >= options_.minutes;
}

void Soak::check() {
    for (const std::string& problem : compare(sandbox_, expected_)) fail(problem);
    const Float3 tool = sandbox_.toolPosition;
    if (!std::isfinite(tool.x) || !std::isfinite(tool.y) || !std::isfinite(tool.z)) {
        fail("the tool left the finite numbers");
    }
    if (expected_.bodies() > mostBodies_) mostBodies_ = expected_.bodies();
}

void Soak::fail(const std::string& what) {
    std::fprintf(stderr, "soak seed %u, pass %ld: %s\n", options_.seed, passes_, what.c_str());
    std::exit(1);
}

void Soak::report(const char* when) {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    std::printf("soak %s: seed %u, %ld passes, %ld events, %ld resets, at most %d bodies, "
                "%.0f s, resident %ld KiB\n",
                when, options_.seed, passes_, events_, resets_, mostBodies_, elapsed.count(),
                residentBytes() / 1024);
    std::fflush(stdout);
}

// Most passes get a handful of mixed events; now and then a run of wheel
// steps in one direction carries the tool far below the floor or far up,
// and a burst of extreme motions throws it thousands of units away.
void Soak::queueBatch() {
    resetQueued_ = false;
    if (wheelRun_ == 0 && chance(0.01)) {
        wheelRun_ = uniform(1, 12);
        wheelButton_ = chance(0.5) ? SDL_BUTTON_WHEELUP : SDL_BUTTON_WHEELDOWN;
    }
    if (wheelRun_ > 0) {
        --wheelRun_;
        for (int i = uniform(20, 80); i > 0; --i) pushButton(wheelButton_, i % 2 == 0);
    }
    if (chance(0.01)) {
        for (int i = uniform(5, 15); i > 0; --i) pushMotion();
    }

    for (int i = uniform(0, 8); i > 0; --i) {
        const int pick = uniform(0, 99);
        if (pick < 30) pushKnownKey();
        else if (pick < 45) pushUnknownKey();
        else if (pick < 65) pushMotion();
        else if (pick < 80) pushButton(static_cast<Uint8>(uniform(1, 5)), chance(0.5));
        else if (pick < 85) pushUserEvent(chance(0.25) ? 0 : uniform(-1000, 1000));
        else pushIgnored();
    }
    // The r key posts its reset behind everything queued before, so it
    // happens after the whole batch.
    if (resetQueued_) resetExpected();

    // A slow pass: the next step is as long as the wait.
    if (chance(0.002)) SDL_Delay(static_cast<Uint32>(uniform(100, 600)));
}

void Soak::push(SDL_Event event) {
    ++events_;
    if (SDL_PushEvent(&event) != 0) fail("the event queue is full");
}

void Soak::pushKey(SDLKey key, bool pressed) {
    SDL_Event event{};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.which = static_cast<Uint8>(uniform(0, 255));
    event.key.keysym.scancode = static_cast<Uint8>(uniform(0, 255));
    event.key.keysym.sym = key;
    event.key.keysym.mod = static_cast<SDLMod>(uniform(0, 0xffff) & (KMOD_SHIFT | KMOD_CTRL |
                                                                     KMOD_ALT | KMOD_META |
                                                                     KMOD_NUM | KMOD_CAPS));
    event.key.keysym.unicode = static_cast<Uint16>(uniform(0, 0xffff));
    push(event);
}

void Soak::pushKnownKey() {
    int total = 0;
    for (const KnownKey& k : kKnownKeys) total += k.weight;
    int pick = uniform(0, total - 1);
    const KnownKey* chosen = &kKnownKeys[0];
    for (const KnownKey& k : kKnownKeys) {
        if (pick < k.weight) {
            chosen = &k;
            break;
        }
        pick -= k.weight;
    }

    const bool pressed = chance(0.7);
    if (pressed && chosen->count != nullptr &&
        expected_.bodies() + chosen->bodies > options_.maxBodies) {
        chosen = &kKnownKeys[0];  // r: the world is full enough
    }
    pushKey(chosen->key, pressed);
    if (!pressed) return;
    if (chosen->key == SDLK_r) resetQueued_ = true;
    if (chosen->count != nullptr) ++(expected_.*(chosen->count));
}

// Any key of SDL's table that the sandbox does nothing with; Escape is kept
// for the end.
void Soak::pushUnknownKey() {
    for (;;) {
        const SDLKey key = static_cast<SDLKey>(uniform(0, SDLK_LAST - 1));
        if (key == SDLK_ESCAPE) continue;
        bool known = false;
        for (const KnownKey& k : kKnownKeys) known = known || k.key == key;
        if (known) continue;
        pushKey(key, chance(0.5));
        return;
    }
}

Sint16 Soak::extremeOrRandom() {
    switch (uniform(0, 5)) {
        case 0: return 32767;
        case 1: return -32767;
        case 2: return -32768;
        case 3: return 0;
        case 4: return static_cast<Sint16>(uniform(-40, 40));
        default: return static_cast<Sint16>(uniform(-32768, 32767));
    }
}

void Soak::pushMotion() {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.state = static_cast<Uint8>(uniform(0, 255));
    event.motion.x = static_cast<Uint16>(uniform(0, 0xffff));
    event.motion.y = static_cast<Uint16>(uniform(0, 0xffff));
    event.motion.xrel = extremeOrRandom();
    event.motion.yrel = extremeOrRandom();
    push(event);
}

void Soak::pushButton(Uint8 button, bool pressed) {
    SDL_Event event{};
    event.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = button;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(uniform(0, 0xffff));
    event.button.y = static_cast<Uint16>(uniform(0, 0xffff));
    push(event);
    if (!pressed) return;
    if (button == SDL_BUTTON_LEFT) ++expected_.balls;
    if (button == SDL_BUTTON_RIGHT) ++expected_.shotCylinders;
}

// Code 0 is the reset request, carried out where it stands in the queue.
void Soak::pushUserEvent(int code) {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    event.user.type = SDL_USEREVENT;
    event.user.code = code;
    event.user.data1 = reinterpret_cast<void*>(static_cast<uintptr_t>(uniform(0, 1 << 30)));
    event.user.data2 = &event;  // never read: gone by the time the event is
    push(event);
    if (code == 0) resetExpected();
}

// Focus, joystick, window-manager, reserved, resize, expose and the user
// types above SDL_USEREVENT, each with random content.
void Soak::pushIgnored() {
    static const int kTypes[] = {SDL_ACTIVEEVENT, SDL_JOYAXISMOTION, SDL_JOYBALLMOTION,
                                 SDL_JOYHATMOTION, SDL_JOYBUTTONDOWN, SDL_JOYBUTTONUP,
                                 SDL_VIDEORESIZE, SDL_VIDEOEXPOSE, SDL_USEREVENT + 1,
                                 SDL_NUMEVENTS - 1};
    SDL_Event event;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&event);
    for (size_t i = 0; i < sizeof event; ++i) bytes[i] = static_cast<unsigned char>(uniform(0, 255));
    const int pick = uniform(0, 19);
    if (pick < 10) event.type = static_cast<Uint8>(kTypes[pick]);
    else if (pick < 18) event.type = static_cast<Uint8>(kReservedTypes[pick - 10]);
    else event.type = static_cast<Uint8>(uniform(SDL_USEREVENT + 1, SDL_NUMEVENTS - 1));
    if (event.type == SDL_SYSWMEVENT) event.syswm.msg = nullptr;
    push(event);
}

// Escape or the window's close event, with a few more events behind it that
// the same pass must still handle.
void Soak::pushQuit() {
    quitQueued_ = true;
    if (chance(0.5)) {
        pushKey(SDLK_ESCAPE, true);
    } else {
        SDL_Event event{};
        event.type = SDL_QUIT;
        push(event);
    }
    resetQueued_ = false;
    for (int i = uniform(0, 5); i > 0; --i) pushKnownKey();
    if (resetQueued_) resetExpected();
}

int Soak::finish() {
    report("finished");
    if (!quitQueued_) fail("the loop ended without a quit");
    if (sandbox_.exitCode != 0) fail("the exit code is " + std::to_string(sandbox_.exitCode));
    return sandbox_.exitCode;
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--seed") options.seed = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
        else if (name == "--passes") options.passes = std::strtol(value, nullptr, 10);
        else if (name == "--minutes") options.minutes = std::strtod(value, nullptr);
        else if (name == "--max-bodies") options.maxBodies = std::atoi(value);
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            std::exit(2);
        }
    }
    return options;
}

XvfbServer* server = nullptr;

// Registered before the window's start-up registers SDL's clean-up, so the
// server is still there while SDL closes its connection.
void stopServer() {
    delete server;
    server = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    server = new XvfbServer();
    std::atexit(stopServer);
    setenv("DISPLAY", server->display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    Sandbox* sandbox = new Sandbox(argc, argv);
    sandbox->init();
    Soak driver(*sandbox, options);
    soak = &driver;
    sandbox->run();
    soak = nullptr;
    return driver.finish();
}
