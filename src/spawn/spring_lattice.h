// The recipe that the soft structures share: a lattice of small sphere
// bodies, the nodes, with each pair of lattice neighbours held together by a
// slider joint whose stops make it act as a spring.
#pragma once

#include "sandbox.h"

#include <functional>

// The six slider parameters that every spring of one kind of structure gets.
struct SpringSettings {
    float loStop;
    float hiStop;
    float bounce;
    float cfm;
    float stopErp;
    float stopCfm;
};

// What every node and spring of one kind of structure is made of.
struct LatticeKind {
    float nodeRadius;  // neighbouring nodes stand twice this apart
    float nodeMass;
    SpringSettings springs;
};

struct Double3 {
    double x, y, z;
};

// The nodes of one block: node (o, n) sits at `first + inner * o + n` in the
// structure's list.
struct LatticeBlock {
    int first;
    int inner;
    int index(int o, int n) const { return first + inner * o + n; }
};

// Builds one structure: writes the group's drawing parameters on creation,
// adds nodes and springs, and records the finished structure in its group.
class SpringLattice {
public:
    // Node (o, n) of a block: its world position, or the axis of one of its
    // springs, given the block's two loop indices.
    using NodeVector = std::function<Double3(int o, int n)>;
    // Called after node (o, n) and its springs within the block are made.
    using NodeHook = std::function<void(const LatticeBlock& block, int o, int n)>;

    SpringLattice(Sandbox& sandbox, StructureGroup& group, const LatticeKind& kind);

    double spacing() const { return spacing_; }

    // World position of a point given by its offset from the structure's
    // base: the tool's x and y, at the fixed starting height.
    Double3 fromBase(Double3 offset) const;

    // Makes outer × inner nodes in loop order; after each node come its
    // springs from the node before it along o, then along n.
    LatticeBlock addBlock(int outer, int inner, const NodeVector& position,
                          const NodeVector& outerAxis, const NodeVector& innerAxis,
                          const NodeHook& afterNode = nullptr);

    // A flat block: node (o, n) stands at corner + o·outerStep + n·innerStep,
    // in spacings from the base, and its springs run along the two steps.
    LatticeBlock addGrid(Double3 corner, Double3 outerStep, Double3 innerStep, int outer,
                         int inner);

    // Joins two nodes, given by their indices, with a spring along axis.
    void addSpring(int first, int second, Double3 axis);

    // Appends a copy of the node list to the group; call once, at the end.
    void finish();

private:
    void addNode(Double3 position);

    Sandbox& sandbox_;
    StructureGroup& group_;
    SpringSettings settings_;
    BodyList nodes_;
    dMass mass_;
    double spacing_;
    float baseX_;
    float baseY_;
};
