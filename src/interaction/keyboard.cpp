#include "sandbox.h"

namespace {

void requestReset() {
    SDL_Event r;
    r.type = SDL_USEREVENT;
    r.user.code = kResetCode;
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

    // clang-format off
    switch (event.keysym.sym) {
        case SDLK_ESCAPE: quit(0); break;
        case SDLK_r: requestReset(); break;
        case SDLK_s: showReflections = !showReflections; break;
        case SDLK_j: showJoints = !showJoints; break;
        case SDLK_q: squeezeJaws(); break;
        case SDLK_e: pullJawsApart(); break;
        case SDLK_1: dropSphereBox(); break;
        case SDLK_2: dropEmptyBox(); break;
        case SDLK_3: dropCylinder(); break;
        case SDLK_4: dropCloth(); break;
        case SDLK_5: addStaticSphere(); break;
        case SDLK_6: dropBoxBox(); break;
        case SDLK_0: dropBean(); break;
        default: break;
    }
    // clang-format on
}
