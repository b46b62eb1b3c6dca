// The world at start-up, the contacts that the collision pass makes, and
// the step.
#include "support/sandbox_fixture.h"

#include <vector>

using PhysicsTest = SandboxTest;

namespace {

dBodyID addBody(Sandbox& s, dGeomID shape, float x, float y, float z) {
    const dBodyID body = dBodyCreate(s.world);
    dMass mass;
    dMassSetSphereTotal(&mass, 1.0, 0.5);
    dBodySetMass(body, &mass);
    dGeomSetBody(shape, body);
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

float distance(dBodyID a, dBodyID b) {
    const Float3 p = position(a), q = position(b);
    return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z);
}

}  // namespace

TEST_F(PhysicsTest, StartUpWorldHoldsGravityTheJawsAndTheGround) {
    dVector3 gravity;
    dWorldGetGravity(sandbox->world, gravity);
    EXPECT_TRUE(isAt(toFloat3(gravity), {0, 0, -9.81f}, 0));
    EXPECT_EQ(dWorldGetAutoDisableFlag(sandbox->world), 0);
    EXPECT_EQ(dGeomGetClass(reinterpret_cast<dGeomID>(sandbox->space)), dHashSpaceClass);

    ASSERT_EQ(dSpaceGetNumGeoms(sandbox->space), 3);
    EXPECT_TRUE(isAt(position(sandbox->jawA), {0, -1, 5}, 0));
    EXPECT_TRUE(isAt(position(sandbox->jawB), {0, 1, 5}, 0));
    for (int i = 0; i < 3; ++i) {
        const dGeomID geom = dSpaceGetGeom(sandbox->space, i);
        EXPECT_EQ(dGeomGetBody(geom), nullptr);
        if (geom == sandbox->jawA || geom == sandbox->jawB) {
            EXPECT_EQ(dGeomSphereGetRadius(geom), 2.0);
            continue;
        }
        ASSERT_EQ(dGeomGetClass(geom), dPlaneClass);
        dVector4 plane;
        dGeomPlaneGetParams(geom, plane);
        EXPECT_TRUE(isAt(toFloat3(plane), {0, 0, 1}, 0));
        EXPECT_EQ(plane[3], 0.0);
    }
}

// Every pass empties the group before it collides, so a resting sphere
// holds the same few contacts pass after pass, each with the sphere first
// and nothing second.
TEST_F(PhysicsTest, SphereRestsOnTheGroundOnOneBodiedContactsThatDoNotPileUp) {
    const dBodyID ball = addBody(*sandbox, dCreateSphere(sandbox->space, 0.5), 20, 20, 3);
    simulate(1.5);
    EXPECT_NEAR(position(ball).z, 0.5, 0.02);
    const size_t settled = contactsOf(ball).size();
    simulate(1.0);
    ASSERT_EQ(contactsOf(ball).size(), settled);
    ASSERT_GT(settled, 0u);
    for (dJointID contact : contactsOf(ball)) {
        EXPECT_EQ(dJointGetBody(contact, 0), ball);
        EXPECT_EQ(dJointGetBody(contact, 1), nullptr);
    }
}

// Friction is a fixed force bound of 1000 per contact point, whatever the
// weight: a plate on its four corners holds against 3000 and slides under
// 5000, light or heavy. (The plate is thin so that the push cannot tip it.)
TEST_F(PhysicsTest, ContactFrictionHoldsUpToAThousandPerContactPoint) {
    for (float mass : {10.0f, 100.0f}) {
        for (float push : {3000.0f, 5000.0f}) {
            SCOPED_TRACE(testing::Message() << "mass " << mass << ", push " << push);
            const dBodyID box = addBody(*sandbox, dCreateBox(sandbox->space, 2, 2, 0.02f), 0, 20, 0.01f);
            dMass m;
            dMassSetBoxTotal(&m, mass, 2, 2, 0.02f);
            dBodySetMass(box, &m);
            simulate(0.5);
            for (int pass = 0; pass < 30; ++pass) {
                dBodyAddForce(box, push, 0, 0);
                simulate(1.0 / 60);
            }
            const float slid = position(box).x;
            if (push < 4000) EXPECT_LT(slid, 0.5f);
            else EXPECT_GT(slid, 1.0f);
            dGeomDestroy(dBodyGetFirstGeom(box));
            dBodyDestroy(box);
        }
    }
}

TEST_F(PhysicsTest, ContactsPerPairAreCappedAtEight) {
    // A flat 5 x 5 plate sunk into the ground touches it at 25 corners.
    constexpr int kSide = 5;
    std::vector<float> corners;
    std::vector<dTriIndex> triangles;
    for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) {
            corners.insert(corners.end(), {1.0f * i, 1.0f * j, -0.1f});
            const dTriIndex a = i * kSide + j;
            if (i + 1 < kSide && j + 1 < kSide) {
                triangles.insert(triangles.end(),
                                 {a, a + kSide, a + 1, a + 1, a + kSide, a + kSide + 1});
            }
        }
    }
    const dTriMeshDataID data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(data, corners.data(), 3 * sizeof(float), kSide * kSide,
                                triangles.data(), static_cast<int>(triangles.size()),
                                3 * sizeof(dTriIndex));
    const dGeomID plate = dCreateTriMesh(sandbox->space, data, nullptr, nullptr, nullptr);
    const dBodyID body = addBody(*sandbox, plate, 30, 30, 0);

    simulate(1.0 / 60);
    EXPECT_EQ(contactsOf(body).size(), 8u);
    dGeomDestroy(plate);
    dGeomTriMeshDataDestroy(data);
}

// Springs do not stop their two nodes from colliding, and a contact pushes
// its two bodies apart, never together.
TEST_F(PhysicsTest, OverlappingSpheresJoinedByASpringArePushedApart) {
    const dBodyID a = addBody(*sandbox, dCreateSphere(sandbox->space, 0.5), 20, 20, 0.5f);
    const dBodyID b = addBody(*sandbox, dCreateSphere(sandbox->space, 0.5), 20.7f, 20, 0.5f);
    const dJointID spring = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(spring, a, b);
    dJointSetSliderAxis(spring, 1, 0, 0);
    simulate(0.5);
    EXPECT_GT(distance(a, b), 0.95f);
}

// A space inside the world's space collides with the ground outside it and
// among its own members.
TEST_F(PhysicsTest, BodiesInANestedSpaceCollideWithTheWorldAndWithEachOther) {
    const dSpaceID inner = dSimpleSpaceCreate(sandbox->space);
    const dBodyID a = addBody(*sandbox, dCreateSphere(inner, 0.5), 20, 20, 0.5f);
    const dBodyID b = addBody(*sandbox, dCreateSphere(inner, 0.5), 20.7f, 20, 0.5f);
    simulate(0.5);
    EXPECT_GT(distance(a, b), 0.95f);
    EXPECT_NEAR(position(a).z, 0.5f, 0.05f);
}
