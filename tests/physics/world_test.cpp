// The world and its space, the contacts of each pass, and the reset that rebuilds them.
#include "support/fixtures.h"

#include "physics/solid_body.h"

#include <cmath>

using PhysicsTest = SandboxTest;
using ResetTest = SandboxTest;

namespace {

dBodyID addBody(Sandbox& s, dGeomID shape, float x, float z, float mass = 1) {
    dMass m;
    dMassSetSphereTotal(&m, mass, 0.5);
    return createSolidBody(
        s.world, m, [shape] { return shape; }, x, 20, z);
}

// Every node within a unit of where it rested, none below the ground, none NaN.
::testing::AssertionResult staysNear(const std::vector<Float3>& rest,
                                     const std::vector<Float3>& now) {
    float farthest = 0, lowest = now[0].z;
    std::size_t node = 0;
    for (std::size_t i = 0; i < now.size() && !std::isnan(farthest); ++i) {
        const Float3 a = rest[i], b = now[i];
        const float moved = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
        if (std::isnan(moved) || moved > farthest) {
            farthest = moved;
            node = i;
        }
        lowest = std::fmin(lowest, b.z);
    }
    return (farthest < 1 && lowest >= 0 ? ::testing::AssertionSuccess()
                                        : ::testing::AssertionFailure())
           << "node " << node << " of " << now.size() << " moved " << farthest
           << " from where it rested; the lowest stands at " << lowest;
}

}  // namespace

TEST_F(PhysicsTest, TheSpaceKeepsTheEnginesOwnCellSizes) {
    int levels[2], own[2];
    dHashSpaceGetLevels(sandbox->space, &levels[0], &levels[1]);
    dHashSpaceGetLevels(dHashSpaceCreate(sandbox->space), &own[0], &own[1]);  // a fresh one
    EXPECT_THAT(levels, ::testing::ElementsAreArray(own)) << "the smallest and largest cells";
}

// Bodies rest on the ground and push each other apart, joined or not, also from a nested space.
TEST_F(PhysicsTest, RestingAndOverlappingBodiesGetContactsThatHoldThemApart) {
    const dSpaceID nested = dSimpleSpaceCreate(sandbox->space);
    const dBodyID ball = addBody(*sandbox, dCreateSphere(nested, 0.5), 20, 3);
    const dBodyID a = addBody(*sandbox, dCreateSphere(nested, 0.5), 10, 0.5f);
    const dBodyID b = addBody(*sandbox, dCreateSphere(nested, 0.5), 10.7f, 0.5f);
    const dJointID spring = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(spring, a, b);
    dJointSetSliderAxis(spring, 1, 0, 0);
    simulate(1.5);
    const int resting = dBodyGetNumJoints(ball);  // its contacts
    simulate(1.0);
    EXPECT_NEAR(position(ball).z, 0.5f, 0.02f) << "a sphere of radius 0.5 resting on the ground";
    ASSERT_EQ(dBodyGetNumJoints(ball), resting) << "contacts, a second later";
    EXPECT_GT(position(b).x - position(a).x, 0.95f) << "two joined spheres of radius 0.5";
}

// A plate on its four corners holds against 3000 and slides under 5000: a thousand a contact. A
// mesh with nine corners below the ground gets eight.
TEST_F(PhysicsTest, ContactsHoldUpToAThousandEachAndAPairGetsAtMostEight) {
    const dBodyID held = addBody(*sandbox, dCreateBox(sandbox->space, 2, 2, 0.02f), 0, 0.01f, 100);
    const dBodyID slid = addBody(*sandbox, dCreateBox(sandbox->space, 2, 2, 0.02f), 9, 0.01f, 100);
    simulate(0.5);
    for (int pass = 0; pass < 30; ++pass) {
        dBodyAddForce(held, 3000, 0, 0);
        dBodyAddForce(slid, 5000, 0, 0);
        simulate(1.0 / 60);
    }
    EXPECT_LT(position(held).x, 0.5f) << "pushed with 3000";
    EXPECT_GT(position(slid).x, 9.5f) << "pushed with 5000";
    const float corners[] = {0,  0, -1, 1,  0, -1, 0,  1, -1, 3,  0, -1, 4, 0,
                             -1, 3, 1,  -1, 6, 0,  -1, 7, 0,  -1, 6, 1,  -1};
    const dTriIndex triangles[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const dTriMeshDataID data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(data, corners, 3 * sizeof(float), 9, triangles, 9,
                                3 * sizeof(dTriIndex));
    const dBodyID mesh = addBody(*sandbox, dCreateTriMesh(sandbox->space, data, 0, 0, 0), -30, 0);
    simulate(1.0 / 60);
    EXPECT_EQ(dBodyGetNumJoints(mesh), 8) << "contacts of the mesh";
    sandbox->destroyPhysics();  // before the mesh data its geom points to
    dGeomTriMeshDataDestroy(data);
    sandbox->initPhysics();
}

// A user who clears a big scene gets the memory back (the soak checks the lists).
TEST_F(ResetTest, ClearingABigSceneHandsTheMemoryBack) {
    [[maybe_unused]] const long before = residentMegabytes();
    for (int house = 0; house < 8; ++house) {
        send({event(SDL_MOUSEMOTION, 1600)});  // side by side, so that one step is quick
        for (SDLKey key : {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_0}) tap(key);
        for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT}) click(button);
    }
    simulate(1.0 / 60);
    [[maybe_unused]] const long full = residentMegabytes();
    tap(SDLK_r);
#ifndef __SANITIZE_ADDRESS__  // whose allocator keeps freed memory by design
    EXPECT_GT(full, before + 50) << "megabytes with eight of everything";
    EXPECT_LT(residentMegabytes(), before + 10) << "megabytes after the reset";
#endif
}

// A hidden window, a stopped program or a dragged one comes back to the scene it left: the soft
// structures take what a long step would do to them no worse than a frame.
TEST_F(PhysicsTest, APauseLeavesEveryRestingStructureWhereItWas) {
    const std::pair<float, SDLKey> drops[] = {{-40, SDLK_2}, {0, SDLK_3}, {40, SDLK_4}};
    for (const auto& [right, key] : drops) {
        send({event(SDL_MOUSEMOTION, int(right / 0.025f))});  // along y, clear of the others
        tap(key);
    }
    send({event(SDL_MOUSEMOTION, 3200)});  // the tool away from all three
    simulate(4);
    std::vector<Float3> rest;
    for (auto* group : {&sandbox->emptyBoxes, &sandbox->softCylinders, &sandbox->cloths}) {
        for (dBodyID node : group->structures[0]) rest.push_back(position(node));
    }
    for (Uint32 gap : {2000u, 60000u}) {
        SCOPED_TRACE(testing::Message() << "after a gap of " << gap << " ms");
        sandbox->lastTicks = SDL_GetTicks() - gap;
        sandbox->updateClock();
        sandbox->stepPhysics();
        simulate(0.5);
        std::vector<Float3> now;
        for (auto* group : {&sandbox->emptyBoxes, &sandbox->softCylinders, &sandbox->cloths}) {
            for (dBodyID node : group->structures[0]) now.push_back(position(node));
        }
        EXPECT_TRUE(staysNear(rest, now));
    }
}
