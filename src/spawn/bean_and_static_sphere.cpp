#include "sandbox.h"
#include "physics/solid_body.h"

namespace {

// The bean: a light ball that falls from right under the first jaw.
constexpr float kBeanRadius = 1.0f;
constexpr int kBeanSlices = 12;
constexpr int kBeanStacks = 12;
constexpr float kBeanMass = 0.5f;
// Added to the jaw's radius, this puts the top of the bean at the jaw's
// lowest point.
constexpr float kBeanDrop = 1.0f;

// The static sphere: a fixed obstacle big enough to swallow both jaws.
constexpr float kStaticRadius = 4.0f;
constexpr int kStaticSlices = 20;
constexpr int kStaticStacks = 20;

}  // namespace

// The bean keeps the world's auto-disable setting, off, so it never sleeps.
void Sandbox::dropBean() {
    dMass mass;
    dMassSetZero(&mass);
    beans.radius = kBeanRadius;
    beans.slices = kBeanSlices;
    beans.stacks = kBeanStacks;
    dMassSetSphereTotal(&mass, kBeanMass, beans.radius);

    // From the jaw, not the tool: the squeeze state moves the bean along y.
    const dReal* jaw = dGeomGetPosition(jawA);
    beans.bodies.push_back(createSolidBody(
        world, mass, [this] { return dCreateSphere(space, beans.radius); }, jaw[0], jaw[1],
        jaw[2] - jawRadius - kBeanDrop));
}

// A geom with no body: the dynamic bodies collide with it, nothing moves it.
void Sandbox::addStaticSphere() {
    staticSpheres.radius = kStaticRadius;
    staticSpheres.slices = kStaticSlices;
    staticSpheres.stacks = kStaticStacks;
    staticSpheres.position = toolPosition;

    dGeomID sphere = dCreateSphere(space, staticSpheres.radius);
    dGeomSetPosition(sphere, staticSpheres.position.x, staticSpheres.position.y,
                     staticSpheres.position.z);
    staticSpheres.geoms.push_back(sphere);
}
