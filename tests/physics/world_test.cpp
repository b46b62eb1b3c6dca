// The contacts each pass's collision test makes, and the reset that rebuilds the world.
#include "support/fixtures.h"

#include <unistd.h>

#include <fstream>

using PhysicsTest = SandboxTest;
using ResetTest = SandboxTest;

namespace {

dBodyID addBody(Sandbox& s, dGeomID shape, float x, float z, float mass = 1) {
    const dBodyID body = dBodyCreate(s.world);
    dMass m;
    dMassSetSphereTotal(&m, mass, 0.5), dBodySetMass(body, &m);
    dGeomSetBody(shape, body);
    dBodySetPosition(body, x, 20, z);
    return body;
}

std::vector<dJointID> contactsOf(dBodyID body) {  // it has no other joints
    std::vector<dJointID> contacts(dBodyGetNumJoints(body));
    for (size_t i = 0; i < contacts.size(); ++i) contacts[i] = dBodyGetJoint(body, int(i));
    return contacts;
}

}  // namespace

// Each pass empties the group before it collides: a resting sphere keeps a few contacts, itself
// first, nothing second. Contacts push a pair apart, never together, two nodes joined by a spring
// too; all this in a space nested in the world's, whose members meet the ground outside it.
TEST_F(PhysicsTest, RestingAndOverlappingBodiesGetContactsThatHoldThemApart) {
    EXPECT_EQ(dGeomGetClass(dGeomID(sandbox->space)), dHashSpaceClass);
    const dSpaceID nested = dSimpleSpaceCreate(sandbox->space);
    const dBodyID ball = addBody(*sandbox, dCreateSphere(nested, 0.5), 20, 3);
    const dBodyID a = addBody(*sandbox, dCreateSphere(nested, 0.5), 10, 0.5f),
                  b = addBody(*sandbox, dCreateSphere(nested, 0.5), 10.7f, 0.5f);
    const dJointID spring = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(spring, a, b);
    dJointSetSliderAxis(spring, 1, 0, 0);
    simulate(1.5);
    const size_t resting = contactsOf(ball).size();
    simulate(1.0);
    EXPECT_TRUE(std::abs(position(ball).z - 0.5f) < 0.02f && contactsOf(ball).size() == resting)
        << position(ball).z;
    for (dJointID contact : contactsOf(ball))
        EXPECT_TRUE(dJointGetBody(contact, 0) == ball && !dJointGetBody(contact, 1));
    EXPECT_GT(position(b).x - position(a).x, 0.95f);
}

// Friction bounds each contact's force at 1000 however heavy the load: a thin plate (it cannot tip)
// on four corners holds against 3000 and slides under 5000. A pair gets at most eight contacts: a
// grid sunk into the ground has 25.
TEST_F(PhysicsTest, ContactsHoldUpToAThousandEachAndAPairGetsAtMostEight) {
    for (float push : {3000.0f, 5000.0f}) {
        const dBodyID plate =
            addBody(*sandbox, dCreateBox(sandbox->space, 2, 2, 0.02f), push, 0.01f, 100);
        simulate(0.5);
        for (int pass = 0; pass < 30; ++pass, simulate(1.0 / 60)) dBodyAddForce(plate, push, 0, 0);
        EXPECT_EQ(position(plate).x > push + 0.5f, push > 4000) << "push " << push;
    }
    std::vector<float> corners;
    std::vector<dTriIndex> triangles;
    for (dTriIndex i = 0; i < 25; ++i) {
        corners.insert(corners.end(), {float(i / 5), float(i % 5), -0.1f});
        if (i / 5 < 4 && i % 5 < 4)
            triangles.insert(triangles.end(), {i, i + 5, i + 1, i + 1, i + 5, i + 6});
    }
    const dTriMeshDataID data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(data, corners.data(), 12, 25, triangles.data(),
                                int(triangles.size()), 3 * sizeof(dTriIndex));
    const dBodyID grid =
        addBody(*sandbox, dCreateTriMesh(sandbox->space, data, nullptr, nullptr, nullptr), -30, 0);
    simulate(1.0 / 60);
    EXPECT_EQ(contactsOf(grid).size(), 8u);
    sandbox->destroyPhysics();  // before the mesh data its geom points to
    dGeomTriMeshDataDestroy(data);
    sandbox->initPhysics();
}

// A reset clears every list, rebuilds the start-up world, leaves the switches alone and hands the
// memory of a large scene back to the system.
TEST_F(ResetTest, ClearsEverythingRebuildsTheStartUpWorldAndHandsTheMemoryBack) {
    auto residentMegabytes = [] {  // from the kernel's count of resident pages
        long pages = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> pages >> resident;
        return resident * sysconf(_SC_PAGESIZE) >> 20;
    };
    [[maybe_unused]] const long before = residentMegabytes();
    for (int house = 0; house < 8; ++house) {
        send({event(SDL_MOUSEMOTION, 1600)});  // side by side, so that one step is quick
        for (SDLKey key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_0}) tap(key);
        for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT}) click(button);
    }
    for (SDLKey key : {SDLK_q, SDLK_s, SDLK_j}) tap(key);
    click(SDL_BUTTON_WHEELUP);
    simulate(1.0 / 60);
    [[maybe_unused]] const long full = residentMegabytes();
    tap(SDLK_r);
#ifndef __SANITIZE_ADDRESS__  // whose allocator keeps freed memory by design
    EXPECT_TRUE(full > before + 50 && residentMegabytes() < before + 10)
        << before << ", " << full << ", " << residentMegabytes();
#endif
    const Sandbox& s = *sandbox;
    EXPECT_TRUE(s.sphereBoxes.structures.empty() && s.boxBoxes.structures.empty() &&
                s.emptyBoxes.structures.empty() && s.softCylinders.structures.empty() &&
                s.cloths.structures.empty() && s.beans.bodies.empty() && s.balls.bodies.empty() &&
                s.shotCylinders.bodies.empty() && s.staticSpheres.geoms.empty() &&
                s.springs.joints.empty());
    EXPECT_TRUE(dSpaceGetNumGeoms(s.space) == 3 && isAt(s.toolPosition, kToolStart, 0) &&
                !s.showReflections && s.showJoints);
    EXPECT_TRUE(isAt(position(s.jawA), {0, -1, 5}, 0) && isAt(position(s.jawB), {0, 1, 5}, 0));
    sandbox->updateClock();
    tap(SDLK_1);  // the new world fills and steps like the first
    simulate(0.5);
    EXPECT_TRUE(s.frameSeconds >= 0.001 && dSpaceGetNumGeoms(s.space) == 729 + 3);
}
