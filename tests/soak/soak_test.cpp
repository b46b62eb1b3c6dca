// The sandbox under a long seeded stream of everything a user can do: the
// real start-up in a full-screen window, then pass after pass of the main
// loop's own five calls, fed through SDL's queue with known and unknown
// keys, huge mouse motions, wheel runs far below the floor and far up, every
// button, resets, user events with any code and events the loop ignores.
// After every pass the lists must account for every object in the world.
//
// `make test` runs a short stream; a long one is
//   SOAK_MINUTES=20 SOAK_SEED=424242 build/tests/soak_tests
#include "sandbox.h"
#include "support/xvfb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

double setting(const char* name, double fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::atof(value) : fallback;
}

// Every body and static geom the lists record, against what the collision
// space holds besides the jaws and the ground; every spring against the
// structures that own springs.
void expectListsAccountForTheWorld(const Sandbox& s, long pass) {
    size_t bodies = s.beans.bodies.size() + s.balls.bodies.size() + s.shotCylinders.bodies.size();
    for (const StructureGroup* g : {&s.sphereBoxes, &s.emptyBoxes, &s.softCylinders, &s.cloths}) {
        for (const BodyList& structure : g->structures) bodies += structure.size();
    }
    for (const BodyList& structure : s.boxBoxes.structures) bodies += structure.size();
    const size_t springs = 1200 * s.emptyBoxes.structures.size() +
                           780 * s.softCylinders.structures.size() + 1624 * s.cloths.structures.size();
    ASSERT_EQ(size_t(dSpaceGetNumGeoms(s.space)), bodies + s.staticSpheres.geoms.size() + 3)
        << "pass " << pass;
    ASSERT_EQ(s.springs.joints.size(), springs) << "pass " << pass;
}

class InputStream {
public:
    explicit InputStream(unsigned seed) : random_(seed) {}

    SDL_Event next() {
        static const SDLKey keys[] = {SDLK_r, SDLK_s, SDLK_j, SDLK_q, SDLK_e, SDLK_0, SDLK_5,
                                      SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_6, SDLK_a, SDLK_F1,
                                      SDLK_LSHIFT, SDLK_SPACE, SDLK_UP, SDLK_9};
        static const Uint8 ignored[] = {SDL_ACTIVEEVENT, SDL_JOYAXISMOTION, SDL_JOYBUTTONDOWN,
                                        SDL_VIDEORESIZE, SDL_VIDEOEXPOSE, 14, 20, 23, 31};
        SDL_Event e{};
        switch (pick(12)) {
            case 0: case 1: case 2: case 3:
                e.type = pick(2) ? SDL_KEYDOWN : SDL_KEYUP;
                e.key.state = e.type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
                // Spawn keys are the rarer ones: each adds hundreds of bodies.
                e.key.keysym.sym = keys[pick(pick(4) ? 7 : 18)];
                e.key.keysym.mod = static_cast<SDLMod>(pick(2) ? KMOD_NONE : KMOD_LSHIFT | KMOD_CAPS);
                break;
            case 4: case 5: case 6:
                e.type = SDL_MOUSEMOTION;
                e.motion.xrel = static_cast<Sint16>(pick(2) ? pick(81) - 40 : pick(65535) - 32767);
                e.motion.yrel = static_cast<Sint16>(pick(2) ? pick(81) - 40 : pick(65535) - 32767);
                break;
            case 7: case 8: case 9:
                e.type = pick(2) ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
                e.button.button = static_cast<Uint8>(pick(4) ? 4 + pick(2) : 1 + pick(3));
                e.button.state = e.type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
                break;
            case 10:
                e.type = SDL_USEREVENT;
                e.user.code = pick(3) ? pick(1 << 30) - (1 << 29) : kResetCode;
                break;
            default:
                e.type = ignored[pick(sizeof ignored)];
                e.user.code = pick(1 << 20);
                break;
        }
        return e;
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
};

}  // namespace

TEST(SoakTest, ASeededStreamOfInputKeepsTheWorldAndItsListsInStep) {
    useProcessServer();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    char name[] = "bramblewick-soak";
    char* argv[] = {name, nullptr};
    Sandbox sandbox(1, argv);
    sandbox.init();

    const unsigned seed = static_cast<unsigned>(setting("SOAK_SEED", 7919));
    const long passes = static_cast<long>(setting("SOAK_PASSES", 300));
    const double minutes = setting("SOAK_MINUTES", 0);
    const auto start = std::chrono::steady_clock::now();
    auto elapsedMinutes = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
    };
    InputStream input(seed);
    int most = 0;
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (long pass = 0; minutes > 0 ? elapsedMinutes() < minutes : pass < passes; ++pass) {
        for (int n = input.pick(8); n > 0; --n) {
            SDL_Event event = input.next();
            SDL_PushEvent(&event);
        }
        if (dSpaceGetNumGeoms(sandbox.space) > 2500) {
            SDL_Event reset = {};
            reset.type = SDL_USEREVENT;
            reset.user.code = kResetCode;
            SDL_PushEvent(&reset);
        }
        sandbox.handleEvents();
        sandbox.updateClock();
        sandbox.stepPhysics();
        sandbox.update();
        sandbox.render();
        ASSERT_TRUE(sandbox.running);
        most = std::max(most, dSpaceGetNumGeoms(sandbox.space));
        expectListsAccountForTheWorld(sandbox, pass);
        if (minutes > 0 && pass % 2000 == 0) {
            std::printf("%.1f min: pass %ld, %d geoms\n", elapsedMinutes(), pass,
                        dSpaceGetNumGeoms(sandbox.space));
        }
    }

    std::printf("%ld passes, at most %d objects at once\n", passes, most);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    sandbox.run();
    EXPECT_FALSE(sandbox.running);
    EXPECT_EQ(sandbox.exitCode, 0);
}
