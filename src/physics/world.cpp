#include "sandbox.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int kMaxContacts = 8;       // contact points per touching pair
constexpr dReal kFriction = 1000.0f;  // Coulomb mu of every contact
constexpr float kGravity = -9.81f;    // along z, which points up

// A resting soft structure bears one step of up to 175 ms: the empty box
// draped over the tool is the first to crumple, at 200 ms. No step is longer
// than this.
constexpr double kLongestStep = 0.1;
// A slow pass still moves the world by its real time, in equal steps: the full
// house on a software renderer takes up to 250 ms a pass on two busy cores. A
// longer gap is a pause (a hidden page, a stopped program, a window being
// dragged): the world goes on by this much and no more, as a paused game
// resumes where it stopped, and a machine slower still runs the world slower
// rather than falling further behind.
constexpr double kLongestPass = 0.25;

}  // namespace

void Sandbox::initPhysics() {
    // ODE sets up its global collision data once, before the first world.
    static const int odeReady = dInitODE2(0);
    (void)odeReady;

    lastTicks = SDL_GetTicks() - 1;  // the first pass measures at least 1 ms
    world = dWorldCreate();
    space = dHashSpaceCreate(nullptr);
    contactGroup = dJointGroupCreate(0);
    dWorldSetGravity(world, 0, 0, kGravity);
    createTool();
    dCreatePlane(space, 0, 0, 1, 0);
}

void Sandbox::stepPhysics() {
    // Two passes within one millisecond measure no time at all, and the
    // solver refuses a step of 0 s by ending the process: nothing to do.
    if (frameSeconds <= 0.0) return;

    const double seconds = std::min(frameSeconds, kLongestPass);
    const int steps = static_cast<int>(std::ceil(seconds / kLongestStep));
    for (int i = 0; i < steps; ++i) {
        dJointGroupEmpty(contactGroup);
        dSpaceCollide(space, nullptr, collideCallback);
        dWorldQuickStep(world, static_cast<float>(seconds / steps));
    }
}

void collideCallback(void* data, dGeomID o1, dGeomID o2) {
    if (dGeomIsSpace(o1) || dGeomIsSpace(o2)) {
        dSpaceCollide2(o1, o2, data, collideCallback);
        if (dGeomIsSpace(o1)) dSpaceCollide(reinterpret_cast<dSpaceID>(o1), data, collideCallback);
        if (dGeomIsSpace(o2)) dSpaceCollide(reinterpret_cast<dSpaceID>(o2), data, collideCallback);
        return;
    }

    const dBodyID b1 = dGeomGetBody(o1);
    const dBodyID b2 = dGeomGetBody(o2);

    // Most pairs whose boxes overlap do not touch, so only the records that
    // dCollide filled are cleared, not all eight for every pair.
    dContact contacts[kMaxContacts];
    const int count = dCollide(o1, o2, kMaxContacts, &contacts[0].geom, sizeof(dContact));
    for (int i = 0; i < count; ++i) {
        contacts[i].surface = dSurfaceParameters{};
        std::fill(std::begin(contacts[i].fdir1), std::end(contacts[i].fdir1), dReal{0});
        contacts[i].surface.mode = 0;
        contacts[i].surface.mu = kFriction;
        const dJointID contact =
            dJointCreateContact(theSandbox->world, theSandbox->contactGroup, &contacts[i]);
        dJointAttach(contact, b1, b2);
    }
}
