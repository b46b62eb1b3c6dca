#include "sandbox.h"

namespace {

constexpr double kMotionScale = 0.025;  // world units per count of mouse motion
constexpr float kWheelStep = 0.5f;      // height change per wheel event
constexpr float kFloor = 0.0f;          // the tool descends only while above it
constexpr double kJawStep = 0.5;        // each jaw moves this far along y per squeeze

// Moves both jaws along y, jawA by stepA and jawB by stepB, from where they
// both were before either moved; x and z follow the tool.
void shiftJaws(Sandbox& sandbox, double stepA, double stepB) {
    const double yA = dGeomGetPosition(sandbox.jawA)[1];
    const double yB = dGeomGetPosition(sandbox.jawB)[1];
    const Float3& tool = sandbox.toolPosition;
    dGeomSetPosition(sandbox.jawA, tool.x, static_cast<float>(yA + stepA), tool.z);
    dGeomSetPosition(sandbox.jawB, tool.x, static_cast<float>(yB + stepB), tool.z);
}

void setJawHeights(Sandbox& sandbox) {
    for (dGeomID jaw : {sandbox.jawA, sandbox.jawB}) {
        const dReal* p = dGeomGetPosition(jaw);
        dGeomSetPosition(jaw, p[0], p[1], sandbox.toolPosition.z);
    }
}

}  // namespace

void Sandbox::createTool() {
    launchOffset = {2.0f, 2.0f, 2.0f};
    jawRadius = 2.0f;
    jawSlices = 20;
    jawStacks = 20;
    jawA = dCreateSphere(space, jawRadius);
    jawB = dCreateSphere(space, jawRadius);
    dGeomSetPosition(jawA, 0, -1, 5);
    dGeomSetPosition(jawB, 0, 1, 5);
}

// jawA starts on the lower-y side: a squeeze moves it up and jawB down. There
// is no limit either way; squeezed far enough, the jaws pass each other.
void Sandbox::squeezeJaws() {
    shiftJaws(*this, +kJawStep, -kJawStep);
}

void Sandbox::pullJawsApart() {
    shiftJaws(*this, -kJawStep, +kJawStep);
}

// The axes are crossed: moving the mouse down the screen moves the tool
// towards +x (towards the camera), moving it right moves it towards +y.
void Sandbox::onMouseMotion(SDL_MouseMotionEvent event) {
    const double dx = event.yrel * kMotionScale;
    const double dy = event.xrel * kMotionScale;
    toolPosition.x = static_cast<float>(toolPosition.x + dx);
    toolPosition.y = static_cast<float>(toolPosition.y + dy);
    for (dGeomID jaw : {jawA, jawB}) {
        const dReal* p = dGeomGetPosition(jaw);
        dGeomSetPosition(jaw, static_cast<float>(p[0] + dx), static_cast<float>(p[1] + dy),
                         toolPosition.z);
    }
}

// The wheel ignores the button state: where a wheel step arrives as a press
// and a release, each of them moves the tool.
void Sandbox::onMouseButton(SDL_MouseButtonEvent event) {
    const bool pressed = event.state == SDL_PRESSED;
    if (event.button == SDL_BUTTON_LEFT && pressed) fireBall();
    if (event.button == SDL_BUTTON_RIGHT && pressed) fireCylinder();
    if (event.button == SDL_BUTTON_WHEELUP) {
        toolPosition.z += kWheelStep;
        setJawHeights(*this);
    }
    if (event.button == SDL_BUTTON_WHEELDOWN && toolPosition.z > kFloor) {
        toolPosition.z -= kWheelStep;
        setJawHeights(*this);
    }
}
