// The world at start-up, contact generation and stepping.
#include "support/sandbox_fixture.h"

#include <vector>

namespace {

dBodyID makeBall(dWorldID world, dSpaceID space, float radius, float x, float y, float z) {
    const dBodyID body = dBodyCreate(world);
    dMass mass;
    dMassSetSphereTotal(&mass, 1.0, radius);
    dBodySetMass(body, &mass);
    dGeomSetBody(dCreateSphere(space, radius), body);
    dBodySetPosition(body, x, y, z);
    return body;
}

std::vector<dJointID> contactsOf(dBodyID body) {
    std::vector<dJointID> contacts;
    for (int i = 0; i < dBodyGetNumJoints(body); ++i) {
        const dJointID joint = dBodyGetJoint(body, i);
        if (dJointGetType(joint) == dJointTypeContact) contacts.push_back(joint);
    }
    return contacts;
}

}  // namespace

TEST_F(SandboxTest, StartUpWorldHoldsGravityTheJawsAndTheGround) {
    dVector3 gravity;
    dWorldGetGravity(sandbox->world, gravity);
    EXPECT_EQ(gravity[0], 0.0);
    EXPECT_EQ(gravity[1], 0.0);
    EXPECT_EQ(gravity[2], static_cast<dReal>(-9.81f));

    ASSERT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    EXPECT_TRUE(dSpaceQuery(sandbox->space, sandbox->jawA));
    EXPECT_TRUE(dSpaceQuery(sandbox->space, sandbox->jawB));
    dGeomID ground = nullptr;
    for (int i = 0; i < 3; ++i) {
        const dGeomID g = dSpaceGetGeom(sandbox->space, i);
        if (g != sandbox->jawA && g != sandbox->jawB) ground = g;
    }
    ASSERT_EQ(dGeomGetClass(ground), dPlaneClass);
    dVector4 plane;
    dGeomPlaneGetParams(ground, plane);
    EXPECT_EQ(plane[2], 1.0);
    EXPECT_EQ(plane[3], 0.0);
    EXPECT_EQ(dGeomGetBody(ground), nullptr);

    for (dGeomID jaw : {sandbox->jawA, sandbox->jawB}) {
        EXPECT_EQ(dGeomGetClass(jaw), dSphereClass);
        EXPECT_EQ(dGeomSphereGetRadius(jaw), 2.0);
        EXPECT_EQ(dGeomGetBody(jaw), nullptr);
    }
    EXPECT_FLOAT_EQ(position(sandbox->jawA).y, -1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawB).y, 1.0f);
    EXPECT_FLOAT_EQ(position(sandbox->jawA).z, 5.0f);
    EXPECT_EQ(dWorldGetAutoDisableFlag(sandbox->world), 0);
}

TEST_F(SandboxTest, SphereComesToRestOnTheGroundWithOneBodiedContacts) {
    const dBodyID ball = makeBall(sandbox->world, sandbox->space, 0.5f, 20, 20, 3);

    simulate(1.5);

    EXPECT_NEAR(position(ball).z, 0.5, 0.02);
    const std::vector<dJointID> contacts = contactsOf(ball);
    ASSERT_FALSE(contacts.empty());
    for (dJointID contact : contacts) {
        EXPECT_EQ(dJointGetBody(contact, 0), ball);
        EXPECT_EQ(dJointGetBody(contact, 1), nullptr);
    }
}

TEST_F(SandboxTest, ContactsOfOnePassDoNotSurviveIntoTheNext) {
    const dBodyID ball = makeBall(sandbox->world, sandbox->space, 0.5f, 20, 20, 0.5f);
    simulate(0.1);
    const size_t settled = contactsOf(ball).size();
    simulate(2.0);
    EXPECT_EQ(contactsOf(ball).size(), settled);
    EXPECT_LE(settled, 8u);
}

TEST_F(SandboxTest, ContactsPerPairAreCappedAtEight) {
    // A flat 5 x 5 plate sunk into the ground touches it at 25 corners.
    constexpr int kSide = 5;
    std::vector<float> corners;
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) corners.insert(corners.end(), {1.0f * i, 1.0f * j, -0.1f});
    }
    std::vector<dTriIndex> triangles;
    for (int i = 0; i + 1 < kSide; ++i) {
        for (int j = 0; j + 1 < kSide; ++j) {
            const dTriIndex a = i * kSide + j;
            triangles.insert(triangles.end(), {a, a + kSide, a + 1, a + 1, a + kSide, a + kSide + 1});
        }
    }
    const dTriMeshDataID data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(data, corners.data(), 3 * sizeof(float), kSide * kSide,
                                triangles.data(), static_cast<int>(triangles.size()),
                                3 * sizeof(dTriIndex));
    const dGeomID plate = dCreateTriMesh(sandbox->space, data, nullptr, nullptr, nullptr);
    const dBodyID body = dBodyCreate(sandbox->world);
    dGeomSetBody(plate, body);
    dBodySetPosition(body, 30, 30, 0);
    dGeomID ground = nullptr;
    for (int i = 0; i < dSpaceGetNumGeoms(sandbox->space); ++i) {
        const dGeomID g = dSpaceGetGeom(sandbox->space, i);
        if (dGeomGetClass(g) == dPlaneClass) ground = g;
    }

    dContactGeom probe[32];
    EXPECT_GT(dCollide(plate, ground, 32, probe, sizeof(dContactGeom)), 8);
    collideCallback(nullptr, plate, ground);
    EXPECT_EQ(contactsOf(body).size(), 8u);

    dGeomDestroy(plate);
    dGeomTriMeshDataDestroy(data);
}

TEST_F(SandboxTest, SpheresJoinedByAJointStillPushEachOtherApart) {
    const dBodyID a = makeBall(sandbox->world, sandbox->space, 0.5f, 20, 20, 5);
    const dBodyID b = makeBall(sandbox->world, sandbox->space, 0.5f, 20.6f, 20, 5);
    const dJointID link = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(link, a, b);
    dJointSetSliderAxis(link, 1, 0, 0);

    collideCallback(nullptr, dBodyGetFirstGeom(a), dBodyGetFirstGeom(b));

    const std::vector<dJointID> contacts = contactsOf(a);
    ASSERT_FALSE(contacts.empty());
    EXPECT_EQ(dJointGetBody(contacts[0], 1), b);
}

TEST_F(SandboxTest, BodiesInASpaceNestedInTheWorldSpaceStillCollide) {
    const dSpaceID nested = dSimpleSpaceCreate(sandbox->space);
    const dBodyID ball = makeBall(sandbox->world, nested, 0.5f, 20, 20, 2);

    simulate(1.5);

    EXPECT_NEAR(position(ball).z, 0.5, 0.02);
}
