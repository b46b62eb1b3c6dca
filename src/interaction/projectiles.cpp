#include "sandbox.h"
#include "physics/solid_body.h"

namespace {

// The ball: a heavy sphere that leaves from beside and above the first jaw,
// so the squeeze state of the jaws moves it along y.
constexpr float kBallRadius = 1.5f;
constexpr int kBallSlices = 15;
constexpr int kBallStacks = 15;
constexpr float kBallMass = 50.0f;    // far heavier than anything the spawners drop
constexpr float kBallSpeed = -40.0f;  // along x

// The sweeper: a capped cylinder that flies broadside along -x, its long
// axis across the flight, sweeping a band of y below the tool.
constexpr int kCylinderSlices = 10;
constexpr int kCylinderStacks = 10;
constexpr float kCylinderRadius = 1.0f;
constexpr float kCylinderLength = 10.0f;  // the straight part; each cap adds one radius
constexpr float kCylinderMass = 50.0f;
constexpr int kAlongBodyZ = 3;             // ODE's direction code: the capsule's own axis
constexpr float kCylinderBackOff = 2.0f;   // extra distance behind the tool, beyond the radius
constexpr float kCylinderSideOff = -5.0f;  // along y from the tool
constexpr float kCylinderSpeed = -100.0f;  // along x
// A half turn about the y-z diagonal lays the body's z axis (the capsule's
// axis) along world y and turns the body's x axis to world -x.
constexpr float kTurnAxisY = 1.0f;
constexpr float kTurnAxisZ = 1.0f;
constexpr float kHalfTurn = 3.1415927f;

}  // namespace

// Projectiles never go to sleep: auto-disable stays at the world's setting,
// which is off.
void Sandbox::fireBall() {
    balls.radius = kBallRadius;
    balls.slices = kBallSlices;
    balls.stacks = kBallStacks;

    dMass mass;
    dMassSetZero(&mass);
    dMassSetSphereTotal(&mass, kBallMass, balls.radius);

    const dReal* jaw = dGeomGetPosition(jawA);
    // launchOffset.y is not used: the ball keeps the jaw's own y.
    const dBodyID ball = createSolidBody(
        world, mass, [this] { return dCreateSphere(space, balls.radius); }, jaw[0] - launchOffset.x,
        jaw[1], jaw[2] + launchOffset.z);
    dBodySetLinearVel(ball, kBallSpeed, 0, 0);
    balls.bodies.push_back(ball);
}

void Sandbox::fireCylinder() {
    shotCylinders.slices = kCylinderSlices;
    shotCylinders.stacks = kCylinderStacks;
    shotCylinders.radius = kCylinderRadius;
    shotCylinders.length = kCylinderLength;

    dMass mass;
    dMassSetZero(&mass);
    // The capped-cylinder mass is marked deprecated, but it is the one that
    // matches the capsule geom: cylinder plus two hemispherical caps.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    dMassSetCappedCylinderTotal(&mass, kCylinderMass, kAlongBodyZ, shotCylinders.radius,
                                shotCylinders.length);
#pragma GCC diagnostic pop

    // Placed from the tool, not from a jaw: squeezing does not move it.
    const dBodyID sweeper = createSolidBody(
        world, mass,
        [this] { return dCreateCCylinder(space, shotCylinders.radius, shotCylinders.length); },
        toolPosition.x - (shotCylinders.radius + kCylinderBackOff),
        toolPosition.y + kCylinderSideOff, toolPosition.z + shotCylinders.radius);

    dQuaternion turn;
    dQFromAxisAndAngle(turn, 0, kTurnAxisY, kTurnAxisZ, kHalfTurn);
    dBodySetQuaternion(sweeper, turn);
    dBodySetLinearVel(sweeper, kCylinderSpeed, 0, 0);
    shotCylinders.bodies.push_back(sweeper);
}
