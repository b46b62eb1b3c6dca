#include "sandbox.h"
#include "spawn/spring_lattice.h"

#include <cmath>

namespace {

// Both stops at rest: a spring pulls its pair back from either side.
constexpr LatticeKind kCylinder = {
    0.3f,                                     // node radius
    0.5f,                                     // mass per node
    {0.0f, 0.0f, 0.5f, 0.01f, 0.1f, 0.001f},  // lo, hi, bounce, cfm, stop erp, stop cfm
};

constexpr int kColumns = 20;             // around the ring
constexpr int kRings = 20;               // nodes up each column
constexpr double kRingRadius = 2.0;      // whatever the node radius: columns stand a little
                                         // more than a spacing apart and their spheres just miss
constexpr float kFullTurn = 6.2831853f;  // 2π; the angles start from its float value

double columnAngle(int column) {
    return column * static_cast<double>(kFullTurn) / kColumns;
}

// The circle's tangent at a column, pointing towards the next column.
Double3 ringTangent(int column) {
    const double angle = columnAngle(column);
    return {std::cos(angle), -std::sin(angle), 0.0};
}

}  // namespace

// Column 0 stands at +y from the tool; the columns follow each other
// clockwise as seen from above.
void Sandbox::dropCylinder() {
    SpringLattice tube(*this, softCylinders, kCylinder);
    const double rise = tube.spacing();

    auto position = [&](int column, int ring) {
        const double angle = columnAngle(column);
        return tube.fromBase(
            {kRingRadius * std::sin(angle), kRingRadius * std::cos(angle), ring * rise});
    };
    auto ringAxis = [](int column, int) { return ringTangent(column); };
    auto columnAxis = [](int, int) { return Double3{0.0, 0.0, 1.0}; };
    // The last column's node closes its ring back to column 0.
    auto closeRing = [&](const LatticeBlock& block, int column, int ring) {
        if (column == kColumns - 1) {
            tube.addSpring(block.index(0, ring), block.index(column, ring), ringTangent(0));
        }
    };
    tube.addBlock(kColumns, kRings, position, ringAxis, columnAxis, closeRing);

    tube.finish();
}
