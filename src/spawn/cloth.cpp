#include "sandbox.h"
#include "spawn/spring_lattice.h"

namespace {

// Nodes a million times lighter than those of the box or the cylinder, held
// at rest length by springs that pull back from either side.
constexpr LatticeKind kCloth = {
    0.6f,                                    // node radius
    5e-7f,                                   // mass per node
    {0.0f, 0.0f, 0.0f, 0.01f, 0.5f, 0.01f},  // lo, hi, bounce, cfm, stop erp, stop cfm
};

constexpr int kSide = 29;             // nodes along each edge of the square
constexpr int kHalfSide = kSide / 2;  // spacings from the middle node to an edge

}  // namespace

// A flat, horizontal sheet centred on the tool, held by nothing: the outer
// index runs along -x, the inner along +y.
void Sandbox::dropCloth() {
    SpringLattice sheet(*this, cloths, kCloth);
    sheet.addGrid({kHalfSide, -kHalfSide, 0}, {-1, 0, 0}, {0, 1, 0}, kSide, kSide);
    sheet.finish();
}
