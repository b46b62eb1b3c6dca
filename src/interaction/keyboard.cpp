#include "sandbox.h"

namespace {

constexpr double kJawStep = 0.5;  // each jaw moves this far along y per press

// Moves both jaws along y, jawA by stepA and jawB by stepB, from where they
// both were before either moved; x and z follow the tool.
void moveJaws(Sandbox& sandbox, double stepA, double stepB) {
    const double yA = dGeomGetPosition(sandbox.jawA)[1];
    const double yB = dGeomGetPosition(sandbox.jawB)[1];
    const Float3& tool = sandbox.toolPosition;
    dGeomSetPosition(sandbox.jawA, tool.x, static_cast<float>(yA + stepA), tool.z);
    dGeomSetPosition(sandbox.jawB, tool.x, static_cast<float>(yB + stepB), tool.z);
}

void requestReset() {
    SDL_Event r;
    r.type = SDL_USEREVENT;
    r.user.code = 0;
    r.user.data1 = nullptr;
    r.user.data2 = nullptr;
    SDL_PushEvent(&r);
}

}  // namespace

// Acts on presses only; modifiers are not looked at, so Shift+q is q.
// The reset is posted rather than done here, so that it happens in the
// event pass after the events queued before it.
void Sandbox::onKey(SDL_KeyboardEvent event) {
    if (event.state != SDL_PRESSED) return;

    switch (event.keysym.sym) {
        case SDLK_ESCAPE: quit(0); break;
        case SDLK_r: requestReset(); break;
        case SDLK_s: showReflections = !showReflections; break;
        case SDLK_j: showJoints = !showJoints; break;
        case SDLK_q: moveJaws(*this, +kJawStep, -kJawStep); break;  // squeeze
        case SDLK_e: moveJaws(*this, -kJawStep, +kJawStep); break;  // pull apart
        case SDLK_1: dropSphereBox(); break;
        case SDLK_2: dropEmptyBox(); break;
        case SDLK_3: dropCylinder(); break;
        case SDLK_4: dropCloth(); break;
        case SDLK_5: addStaticSphere(); break;
        case SDLK_6: dropBoxBox(); break;
        case SDLK_0: dropBean(); break;
        default: break;
    }
}
