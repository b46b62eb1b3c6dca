#include "support/sandbox_fixture.h"

TEST_F(SandboxTest, ConstructionLeavesListsEmptyAndPointsTheGlobalAtTheObject) {
    Sandbox fresh(0, nullptr);
    EXPECT_EQ(theSandbox, &fresh);
    EXPECT_TRUE(fresh.running);
    EXPECT_TRUE(fresh.showReflections);
    EXPECT_FALSE(fresh.showJoints);
    EXPECT_EQ(fresh.exitCode, 0);
    EXPECT_EQ(fresh.frameSeconds, 0.0);
    EXPECT_EQ(fresh.toolPosition.x, 0.0f);
    EXPECT_EQ(fresh.toolPosition.y, 0.0f);
    EXPECT_EQ(fresh.toolPosition.z, 5.0f);
    EXPECT_EQ(fresh.screenWidth, 1024);
    EXPECT_EQ(fresh.screenHeight, 768);
    EXPECT_TRUE(fresh.fullscreen);
    EXPECT_TRUE(fresh.sphereBoxes.structures.empty());
    EXPECT_TRUE(fresh.boxBoxes.structures.empty());
    EXPECT_TRUE(fresh.emptyBoxes.structures.empty());
    EXPECT_TRUE(fresh.softCylinders.structures.empty());
    EXPECT_TRUE(fresh.cloths.structures.empty());
    EXPECT_TRUE(fresh.beans.bodies.empty());
    EXPECT_TRUE(fresh.balls.bodies.empty());
    EXPECT_TRUE(fresh.shotCylinders.bodies.empty());
    EXPECT_TRUE(fresh.staticSpheres.geoms.empty());
    EXPECT_TRUE(fresh.springs.joints.empty());
    theSandbox = sandbox.get();
}
