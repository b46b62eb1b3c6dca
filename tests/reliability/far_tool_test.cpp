// The tool far from the start (thousands of units along the ground) or high
// up, and then every kind of object dropped and fired from there: the world
// steps and draws it all, and holds exactly what was asked for.
#include "reliability/scene_census.h"
#include "support/render_fixture.h"

#include <cmath>

namespace {

constexpr Sint16 kFullSwing = 32767;  // the largest relative motion SDL reports
constexpr int kShots = 2;
constexpr int kPassesAfter = 20;

struct Place {
    const char* name;
    Sint16 xrel, yrel;  // one swing, repeated
    int swings;
    int wheelUps;       // each raises the tool by half a unit
};

// A swing moves the tool 819 units; the wheel runs move it 2000 and 5000 up.
const Place kPlaces[] = {
    {"far along +x", 0, kFullSwing, 10, 0},
    {"far along -y", -kFullSwing, 0, 10, 0},
    {"far diagonally", kFullSwing, -kFullSwing, 6, 0},
    {"high up", 0, 0, 0, 4000},
    {"far and high", -kFullSwing, kFullSwing, 12, 10000},
};

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// Motions and wheel steps in queue-sized helpings, each helping handled by
// the sandbox before the next is queued.
void moveTool(Sandbox& sandbox, const Place& place) {
    constexpr int kHelping = 100;
    for (int done = 0; done < place.swings + place.wheelUps; done += kHelping) {
        for (int i = done; i < std::min(done + kHelping, place.swings + place.wheelUps); ++i) {
            SDL_Event event{};
            if (i < place.swings) {
                event.type = SDL_MOUSEMOTION;
                event.motion.xrel = place.xrel;
                event.motion.yrel = place.yrel;
            } else {
                event.type = SDL_MOUSEBUTTONDOWN;
                event.button.button = SDL_BUTTON_WHEELUP;
                event.button.state = SDL_PRESSED;
            }
            push(event);
        }
        sandbox.handleEvents();
    }
}

}  // namespace

TEST_F(RenderTest, EveryKindDropsAndFiresFromFarAwayAndHighUp) {
    sandbox->showJoints = true;
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(place.name);
        sandbox->handleEvents();  // whatever the window sent at start
        moveTool(*sandbox, place);
        const Float3 tool = sandbox->toolPosition;
        EXPECT_GT(std::abs(tool.x) + std::abs(tool.y) + tool.z, 1000.0f);

        const Census everyKind = queueEveryKind(kShots);
        sandbox->handleEvents();
        for (int i = 0; i < kPassesAfter; ++i) {
            sandbox->frameSeconds = 1.0 / 60.0;
            sandbox->stepPhysics();
            sandbox->render();
        }
        for (const std::string& problem : compare(*sandbox, everyKind)) ADD_FAILURE() << problem;

        sandbox->onUserEvent(SDL_UserEvent{SDL_USEREVENT, 0, nullptr, nullptr});
        for (const std::string& problem : compare(*sandbox, Census{})) ADD_FAILURE() << problem;
    }
}
