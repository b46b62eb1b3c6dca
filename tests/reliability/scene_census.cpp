#include "reliability/scene_census.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>

int Census::bodies() const {
    return (sphereBoxes + boxBoxes) * kBlockPieces + emptyBoxes * kEmptyBoxNodes +
           softCylinders * kCylinderNodes + cloths * kClothNodes + beans + balls + shotCylinders;
}

int Census::springs() const {
    return emptyBoxes * kEmptyBoxSprings + softCylinders * kCylinderSprings +
           cloths * kClothSprings;
}

namespace {

template <typename T>
void expectEqual(std::vector<std::string>& problems, const char* what, T actual, T expected) {
    if (actual == expected) return;
    std::ostringstream line;
    line << what << ": " << actual << ", expected " << expected;
    problems.push_back(line.str());
}

void checkStructures(std::vector<std::string>& problems, const char* what,
                     const std::vector<BodyList>& structures, int count, int nodes) {
    expectEqual(problems, what, static_cast<int>(structures.size()), count);
    for (const BodyList& structure : structures) {
        expectEqual(problems, what, static_cast<int>(structure.size()), nodes);
    }
}

}  // namespace

std::vector<std::string> compare(const Sandbox& s, const Census& e) {
    std::vector<std::string> problems;
    checkStructures(problems, "full boxes of spheres", s.sphereBoxes.structures, e.sphereBoxes,
                    kBlockPieces);
    checkStructures(problems, "full boxes of boxes", s.boxBoxes.structures, e.boxBoxes,
                    kBlockPieces);
    checkStructures(problems, "empty boxes", s.emptyBoxes.structures, e.emptyBoxes,
                    kEmptyBoxNodes);
    checkStructures(problems, "cylinders", s.softCylinders.structures, e.softCylinders,
                    kCylinderNodes);
    checkStructures(problems, "cloths", s.cloths.structures, e.cloths, kClothNodes);
    expectEqual(problems, "beans", static_cast<int>(s.beans.bodies.size()), e.beans);
    expectEqual(problems, "balls", static_cast<int>(s.balls.bodies.size()), e.balls);
    expectEqual(problems, "shot cylinders", static_cast<int>(s.shotCylinders.bodies.size()),
                e.shotCylinders);
    expectEqual(problems, "static spheres", static_cast<int>(s.staticSpheres.geoms.size()),
                e.staticSpheres);
    expectEqual(problems, "springs", static_cast<int>(s.springs.joints.size()), e.springs());

    const int geoms = dSpaceGetNumGeoms(s.space);
    int withBody = 0;
    for (int i = 0; i < geoms; ++i) {
        if (dGeomGetBody(dSpaceGetGeom(s.space, i)) != nullptr) ++withBody;
    }
    expectEqual(problems, "bodies in the space", withBody, e.bodies());
    expectEqual(problems, "geoms in the space", geoms, 3 + e.staticSpheres + e.bodies());
    return problems;
}

Census queueEveryKind(int shots) {
    auto push = [](SDL_Event event) {
        if (SDL_PushEvent(&event) != 0) ADD_FAILURE_AT(__FILE__, __LINE__);
    };
    for (SDLKey key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_0}) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.type = SDL_KEYDOWN;
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        push(event);
    }
    for (int shot = 0; shot < shots; ++shot) {
        for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT}) {
            SDL_Event event{};
            event.type = SDL_MOUSEBUTTONDOWN;
            event.button.type = SDL_MOUSEBUTTONDOWN;
            event.button.button = button;
            event.button.state = SDL_PRESSED;
            push(event);
        }
    }
    Census everyKind;
    everyKind.sphereBoxes = everyKind.boxBoxes = everyKind.emptyBoxes = 1;
    everyKind.softCylinders = everyKind.cloths = everyKind.beans = everyKind.staticSpheres = 1;
    everyKind.balls = everyKind.shotCylinders = shots;
    return everyKind;
}

long residentBytes() {
    long size = 0, resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return -1;
    if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2) resident = -1;
    std::fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}
