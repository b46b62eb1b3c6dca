#include "sandbox.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

void Sandbox::onUserEvent(SDL_UserEvent event) {
    if (event.code != kResetCode) return;

    destroyPhysics();
    toolPosition = kToolStart;

    sphereBoxes.structures.clear();
    boxBoxes.structures.clear();
    emptyBoxes.structures.clear();
    softCylinders.structures.clear();
    cloths.structures.clear();
    beans.bodies.clear();
    balls.bodies.clear();
    shotCylinders.bodies.clear();
    staticSpheres.geoms.clear();
    springs.joints.clear();

    initPhysics();

    // A cleared scene may have held hundreds of megabytes. The C library
    // keeps freed pages for reuse unless asked to hand them back, and a user
    // who clears the scene expects the memory back.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// Frees everything the world, the space and the contact group hold.
// Free the old space first: its geoms still point at bodies that destroying
// the world frees. The contact joints go before the world too, or the world
// complains that it is being destroyed with grouped joints in it.
void Sandbox::destroyPhysics() {
    dSpaceDestroy(space);
    dJointGroupDestroy(contactGroup);
    dWorldDestroy(world);
    space = nullptr;
    contactGroup = nullptr;
    world = nullptr;
}
