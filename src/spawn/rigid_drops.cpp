#include "sandbox.h"
#include "physics/solid_body.h"

namespace {

// Both blocks are cubes of loose pieces with no joints: the cube is only the
// starting arrangement, which collapses into a heap on landing.
constexpr int kPiecesPerAxis = 9;
constexpr int kHalfWidth = (kPiecesPerAxis - 1) / 2;  // pieces from the first corner to the middle
constexpr float kPieceMass = 1e-7f;  // feather-light next to projectiles (50) and beans (0.5)

// Spheres: neighbours touch. The block is centred on the tool's x and y.
constexpr float kSphereRadius = 0.25f;
constexpr int kSphereSlices = 4;
constexpr int kSphereStacks = 4;
constexpr float kSphereBlockBase = 40.0f;  // height of the lowest layer, whatever the tool's

// Boxes: 0.1 apart. The first corner sits four sides from the tool while the
// spacing is larger, so this block's centre is off the tool by (-0.4, +0.4).
constexpr float kBoxSide = 2.0f;
constexpr double kBoxGap = 0.1;
constexpr float kBoxBlockBase = 60.0f;

// Creates the block's pieces, each its own body with the shared mass and a
// geom from createGeom. Layers (i) go up from `first`, rows (j) towards -x,
// pieces along a row (k) towards +y, so the list runs bottom layer first and
// piece (i, j, k) is element i * 81 + j * 9 + k.
template <typename CreateGeom>
BodyList buildBlock(dWorldID world, const dMass& mass, Float3 first, double spacing,
                    CreateGeom createGeom) {
    BodyList pieces;
    for (int i = 0; i < kPiecesPerAxis; ++i) {
        for (int j = 0; j < kPiecesPerAxis; ++j) {
            for (int k = 0; k < kPiecesPerAxis; ++k) {
                const dBodyID body = createSolidBody(world, mass, createGeom, first.x - j * spacing,
                                                     first.y + k * spacing, first.z + i * spacing);
                // A heap of 729 pieces settles; let the resting ones sleep
                // until something disturbs them.
                dBodySetAutoDisableFlag(body, 1);
                pieces.push_back(body);
            }
        }
    }
    return pieces;
}

}  // namespace

void Sandbox::dropSphereBox() {
    sphereBoxes.radius = kSphereRadius;
    sphereBoxes.slices = kSphereSlices;
    sphereBoxes.stacks = kSphereStacks;

    dMass mass;
    dMassSetZero(&mass);
    dMassSetSphereTotal(&mass, kPieceMass, sphereBoxes.radius);

    const double spacing = 2.0 * sphereBoxes.radius;
    const Float3 first = {static_cast<float>(toolPosition.x + kHalfWidth * spacing),
                          static_cast<float>(toolPosition.y - kHalfWidth * spacing),
                          kSphereBlockBase};
    const BodyList v_full_box = buildBlock(
        world, mass, first, spacing, [this] { return dCreateSphere(space, sphereBoxes.radius); });
    sphereBoxes.structures.push_back(v_full_box);
}

void Sandbox::dropBoxBox() {
    boxBoxes.sides = {kBoxSide, kBoxSide, kBoxSide};

    dMass mass;
    dMassSetZero(&mass);
    dMassSetBoxTotal(&mass, kPieceMass, boxBoxes.sides.x, boxBoxes.sides.y, boxBoxes.sides.z);

    const double spacing = kBoxSide + kBoxGap;
    const Float3 first = {static_cast<float>(toolPosition.x + kHalfWidth * double{kBoxSide}),
                          static_cast<float>(toolPosition.y - kHalfWidth * double{kBoxSide}),
                          kBoxBlockBase};
    const BodyList v_full_box2 = buildBlock(world, mass, first, spacing, [this] {
        return dCreateBox(space, boxBoxes.sides.x, boxBoxes.sides.y, boxBoxes.sides.z);
    });
    boxBoxes.structures.push_back(v_full_box2);
}
