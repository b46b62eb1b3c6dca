#include "sandbox.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <vector>

namespace {

// Empties a list together with its storage. Kept at its largest, an empty
// list would still hold the heap pages it lies in, and an allocator that
// hands back only wholly free pages (Windows') could not return them.
template <typename T>
void release(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

}  // namespace

void Sandbox::onUserEvent(SDL_UserEvent event) {
    if (event.code != kResetCode) return;

    destroyPhysics();
    toolPosition = kToolStart;

    release(sphereBoxes.structures);
    release(boxBoxes.structures);
    release(emptyBoxes.structures);
    release(softCylinders.structures);
    release(cloths.structures);
    release(beans.bodies);
    release(balls.bodies);
    release(shotCylinders.bodies);
    release(staticSpheres.geoms);
    release(springs.joints);

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
