#include "spawn/spring_lattice.h"

#include "physics/solid_body.h"

namespace {

constexpr double kBaseHeight = 40.0;  // every structure starts this high, wherever the tool is
constexpr int kNodeSlices = 4;        // nodes are drawn as coarse spheres: there are many
constexpr int kNodeStacks = 4;

}  // namespace

SpringLattice::SpringLattice(Sandbox& sandbox, StructureGroup& group, const LatticeKind& kind)
    : sandbox_(sandbox), group_(group), settings_(kind.springs) {
    dMassSetZero(&mass_);
    group_.radius = kind.nodeRadius;
    group_.slices = kNodeSlices;
    group_.stacks = kNodeStacks;
    // Neighbouring spheres touch in the rest shape.
    spacing_ = 2.0 * static_cast<double>(kind.nodeRadius);
    dMassSetSphereTotal(&mass_, kind.nodeMass, kind.nodeRadius);
    baseX_ = sandbox_.toolPosition.x;
    baseY_ = sandbox_.toolPosition.y;
}

Double3 SpringLattice::fromBase(Double3 offset) const {
    return {baseX_ + offset.x, baseY_ + offset.y, kBaseHeight + offset.z};
}

LatticeBlock SpringLattice::addBlock(int outer, int inner, const NodeVector& position,
                                     const NodeVector& outerAxis, const NodeVector& innerAxis,
                                     const NodeHook& afterNode) {
    const LatticeBlock block{static_cast<int>(nodes_.size()), inner};
    for (int o = 0; o < outer; ++o) {
        for (int n = 0; n < inner; ++n) {
            addNode(position(o, n));
            if (o > 0) addSpring(block.index(o - 1, n), block.index(o, n), outerAxis(o, n));
            if (n > 0) addSpring(block.index(o, n - 1), block.index(o, n), innerAxis(o, n));
            if (afterNode) afterNode(block, o, n);
        }
    }
    return block;
}

LatticeBlock SpringLattice::addGrid(Double3 corner, Double3 outerStep, Double3 innerStep, int outer,
                                    int inner) {
    // Lattice coordinates are whole numbers, so they are exact before the
    // one multiplication by the spacing.
    auto position = [&](int o, int n) {
        const double s = spacing_;
        return fromBase({(corner.x + o * outerStep.x + n * innerStep.x) * s,
                         (corner.y + o * outerStep.y + n * innerStep.y) * s,
                         (corner.z + o * outerStep.z + n * innerStep.z) * s});
    };
    auto alongOuter = [&](int, int) { return outerStep; };
    auto alongInner = [&](int, int) { return innerStep; };
    return addBlock(outer, inner, position, alongOuter, alongInner);
}

void SpringLattice::addNode(Double3 position) {
    nodes_.push_back(createSolidBody(
        sandbox_.world, mass_, [this] { return dCreateSphere(sandbox_.space, group_.radius); },
        position.x, position.y, position.z));
}

// ODE takes the slider's zero position from the two bodies when the axis is
// set, so both nodes must already stand in their rest places.
void SpringLattice::addSpring(int first, int second, Double3 axis) {
    const dJointID spring = dJointCreateSlider(sandbox_.world, nullptr);
    dJointAttach(spring, nodes_[first], nodes_[second]);
    dJointSetSliderAxis(spring, static_cast<float>(axis.x), static_cast<float>(axis.y),
                        static_cast<float>(axis.z));
    dJointSetSliderParam(spring, dParamLoStop, settings_.loStop);
    dJointSetSliderParam(spring, dParamHiStop, settings_.hiStop);
    dJointSetSliderParam(spring, dParamBounce, settings_.bounce);
    dJointSetSliderParam(spring, dParamCFM, settings_.cfm);
    dJointSetSliderParam(spring, dParamStopERP, settings_.stopErp);
    dJointSetSliderParam(spring, dParamStopCFM, settings_.stopCfm);
    sandbox_.springs.joints.push_back(spring);
}

void SpringLattice::finish() {
    group_.structures.push_back(nodes_);
}
