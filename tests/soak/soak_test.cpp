// A seeded stream of all a user can do, through the main loop's calls; the lists account for the
// world after every pass. Long: SOAK_PASSES=100000 tools/private-display.sh build/tests/soak_tests
#include "support/fixtures.h"

#include <random>

using SoakTest = WindowTest;

TEST_F(SoakTest, ASeededStreamOfInputKeepsTheWorldAndItsListsInStep) {
    std::mt19937 random(7919);
    std::vector<SDL_Event> events = {event(SDL_USEREVENT, kResetCode), event(SDL_ACTIVEEVENT)};
    for (char key : std::string("rsjqe05a12346")) {
        events.insert(events.end(), {event(SDL_KEYDOWN, key, KMOD_LSHIFT), event(SDL_KEYUP, key)});
    }
    for (int b = 1; b <= 5; ++b) events.push_back(event(SDL_MOUSEBUTTONDOWN + (b == 5), b));
    Sandbox& s = *sandbox;
    const long passes = getenv("SOAK_PASSES") ? atol(getenv("SOAK_PASSES")) : 300;
    for (long pass = 0; pass < passes; ++pass) {
        for (int n = random() % 8; n > 0; --n) {
            SDL_Event e = random() % 3 ? events[random() % events.size()]
                                       : event(SDL_MOUSEMOTION, int(random() % 65535) - 32767, 9);
            SDL_PushEvent(&e);
        }
        if (dSpaceGetNumGeoms(s.space) > 2500) s.onUserEvent(event(SDL_USEREVENT, kResetCode).user);
        s.handleEvents();
        s.updateClock();
        s.stepPhysics();
        s.update();
        s.render();
        size_t objects = 3 + s.beans.bodies.size() + s.balls.bodies.size() +
                         s.shotCylinders.bodies.size() + s.staticSpheres.geoms.size();
        for (auto* group :
             {&s.sphereBoxes.structures, &s.boxBoxes.structures, &s.emptyBoxes.structures,
              &s.softCylinders.structures, &s.cloths.structures}) {
            for (const BodyList& structure : *group) objects += structure.size();
        }
        SCOPED_TRACE("pass " + std::to_string(pass));
        ASSERT_TRUE(s.running);
        ASSERT_EQ(size_t(dSpaceGetNumGeoms(s.space)), objects) << "geoms, against the lists";
        ASSERT_EQ(s.springs.joints.size(), 1200 * s.emptyBoxes.structures.size() +
                                               780 * s.softCylinders.structures.size() +
                                               1624 * s.cloths.structures.size());
    }
}
