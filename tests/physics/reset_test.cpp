// Reset: requested by the r key through the event queue, it clears every
// list and rebuilds the world as it was at start-up.
#include "support/sandbox_fixture.h"

namespace {

SDL_UserEvent userEvent(int code) {
    SDL_UserEvent event{};
    event.type = SDL_USEREVENT;
    event.code = code;
    return event;
}

// Gives every list one entry, the way the spawners would.
void fillEveryList(Sandbox& s) {
    auto body = [&s] {
        const dBodyID b = dBodyCreate(s.world);
        dGeomSetBody(dCreateSphere(s.space, 0.5), b);
        return b;
    };
    const dBodyID a = body();
    const dBodyID b = body();
    for (StructureGroup* group : {&s.sphereBoxes, &s.emptyBoxes, &s.softCylinders, &s.cloths}) {
        group->structures.push_back({a, b});
    }
    s.boxBoxes.structures.push_back({a});
    s.beans.bodies.push_back(body());
    s.balls.bodies.push_back(body());
    s.shotCylinders.bodies.push_back(body());
    s.staticSpheres.geoms.push_back(dCreateSphere(s.space, 4));
    const dJointID spring = dJointCreateSlider(s.world, nullptr);
    dJointAttach(spring, a, b);
    s.springs.joints.push_back(spring);
}

}  // namespace

TEST_F(SandboxTest, ResetClearsEveryListAndRebuildsTheStartUpWorld) {
    fillEveryList(*sandbox);
    press(SDLK_s);
    press(SDLK_j);
    moveMouse(120, -80);
    click(SDL_BUTTON_WHEELUP);
    press(SDLK_q);
    simulate(0.1);  // leaves contact joints in the group, as every pass does

    sandbox->onUserEvent(userEvent(0));

    EXPECT_TRUE(sandbox->sphereBoxes.structures.empty());
    EXPECT_TRUE(sandbox->boxBoxes.structures.empty());
    EXPECT_TRUE(sandbox->emptyBoxes.structures.empty());
    EXPECT_TRUE(sandbox->softCylinders.structures.empty());
    EXPECT_TRUE(sandbox->cloths.structures.empty());
    EXPECT_TRUE(sandbox->beans.bodies.empty());
    EXPECT_TRUE(sandbox->balls.bodies.empty());
    EXPECT_TRUE(sandbox->shotCylinders.bodies.empty());
    EXPECT_TRUE(sandbox->staticSpheres.geoms.empty());
    EXPECT_TRUE(sandbox->springs.joints.empty());

    EXPECT_FLOAT_EQ(sandbox->toolPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 0.0f);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.z, 5.0f);
    ASSERT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);  // two jaws and the ground
    EXPECT_EQ(countBodies(), 0);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, -1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).z, 5.0f);
    EXPECT_FALSE(sandbox->showReflections);
    EXPECT_TRUE(sandbox->showJoints);

    // The new world steps like the first one did.
    sandbox->updateClock();
    EXPECT_GE(sandbox->frameSeconds, 0.001);
    simulate(0.5);
}

TEST_F(SandboxTest, ResetKeyPostsTheRequestInsteadOfResetting) {
    moveMouse(40, 0);
    press(SDLK_r);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 1.0f);

    SDL_Event posted;
    ASSERT_EQ(SDL_PollEvent(&posted), 1);
    EXPECT_EQ(posted.type, SDL_USEREVENT);
    EXPECT_EQ(posted.user.code, 0);
    EXPECT_EQ(SDL_PollEvent(&posted), 0);

    sandbox->dispatchEvent(posted);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 0.0f);
}

TEST_F(SandboxTest, UserEventsWithOtherCodesChangeNothing) {
    fillEveryList(*sandbox);
    moveMouse(40, 0);
    const dWorldID world = sandbox->world;
    for (int code : {1, -1, 24, 1 << 30}) sandbox->onUserEvent(userEvent(code));

    EXPECT_EQ(sandbox->world, world);
    EXPECT_EQ(sandbox->balls.bodies.size(), 1u);
    EXPECT_EQ(sandbox->springs.joints.size(), 1u);
    EXPECT_FLOAT_EQ(sandbox->toolPosition.y, 1.0f);
}
