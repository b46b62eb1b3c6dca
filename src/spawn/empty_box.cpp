#include "sandbox.h"
#include "spawn/spring_lattice.h"

namespace {

// The box's surface nodes lie on an 11 × 11 × 11 lattice: x and y from -5 to
// 5 spacings around the tool, z from 0 to 10 spacings above the base. Its
// springs may shorten by up to one spacing but never stretch beyond rest.
constexpr LatticeKind kEmptyBox = {
    0.5f,                                  // node radius
    0.5f,                                  // mass per node
    {0.0f, 1.0f, 0.0f, 0.0f, 0.8f, 0.0f},  // lo, hi, bounce, cfm, stop erp, stop cfm
};

enum Face { kTop, kBottom, kPlusY, kMinusY, kPlusX, kMinusX, kFaceCount };

// One face as a flat block, in lattice units. The faces share no node: the
// ±x walls are whole and so hold the four vertical edges and the edges along
// y; the ±y walls stop short of x = ±5 and hold the edges along x; the top
// and bottom keep only their inner 9 × 9.
struct FaceRow {
    Double3 corner;     // node (0, 0)
    Double3 outerStep;  // from node (o - 1, n) to node (o, n)
    Double3 innerStep;  // from node (o, n - 1) to node (o, n)
    int outer;
    int inner;
};

constexpr FaceRow kFaces[kFaceCount] = {
    {{4, -4, 10}, {-1, 0, 0}, {0, 1, 0}, 9, 9},   // top
    {{4, -4, 0}, {-1, 0, 0}, {0, 1, 0}, 9, 9},    // bottom
    {{4, 5, 0}, {0, 0, 1}, {-1, 0, 0}, 11, 9},    // +y wall
    {{4, -5, 0}, {0, 0, 1}, {-1, 0, 0}, 11, 9},   // -y wall
    {{5, -5, 0}, {0, 0, 1}, {0, 1, 0}, 11, 11},   // +x wall
    {{-5, -5, 0}, {0, 0, 1}, {0, 1, 0}, 11, 11},  // -x wall
};

// One end of a seam: node (o + k·dO, n + k·dN) of a face, k being the
// seam's counter.
struct SeamEnd {
    Face face;
    int o, n;
    int dO, dN;
};

// A strip of springs along one edge of the cube that joins two faces.
struct SeamRow {
    SeamEnd first;
    SeamEnd second;
    int springs;
    Double3 axis;  // from the first node to the second
};

constexpr SeamRow kSeams[] = {
    // top and bottom rows of the walls to the borders of the top and bottom
    {{kBottom, 0, 0, 0, 1}, {kPlusX, 0, 1, 0, 1}, 9, {1, 0, 0}},
    {{kBottom, 8, 0, 0, 1}, {kMinusX, 0, 1, 0, 1}, 9, {-1, 0, 0}},
    {{kBottom, 0, 8, 1, 0}, {kPlusY, 0, 0, 0, 1}, 9, {0, 1, 0}},
    {{kBottom, 0, 0, 1, 0}, {kMinusY, 0, 0, 0, 1}, 9, {0, -1, 0}},
    {{kTop, 0, 0, 0, 1}, {kPlusX, 10, 1, 0, 1}, 9, {1, 0, 0}},
    {{kTop, 8, 0, 0, 1}, {kMinusX, 10, 1, 0, 1}, 9, {-1, 0, 0}},
    {{kTop, 0, 8, 1, 0}, {kPlusY, 10, 0, 0, 1}, 9, {0, 1, 0}},
    {{kTop, 0, 0, 1, 0}, {kMinusY, 10, 0, 0, 1}, 9, {0, -1, 0}},
    // the four vertical edges: end columns of the ±x walls to those of the ±y walls
    {{kPlusX, 0, 0, 1, 0}, {kMinusY, 0, 0, 1, 0}, 11, {-1, 0, 0}},
    {{kPlusX, 0, 10, 1, 0}, {kPlusY, 0, 0, 1, 0}, 11, {-1, 0, 0}},
    {{kMinusX, 0, 0, 1, 0}, {kMinusY, 0, 8, 1, 0}, 11, {1, 0, 0}},
    {{kMinusX, 0, 10, 1, 0}, {kPlusY, 0, 8, 1, 0}, 11, {1, 0, 0}},
};

}  // namespace

void Sandbox::dropEmptyBox() {
    SpringLattice box(*this, emptyBoxes, kEmptyBox);

    LatticeBlock faces[kFaceCount];
    for (int f = 0; f < kFaceCount; ++f) {
        const FaceRow& row = kFaces[f];
        faces[f] = box.addGrid(row.corner, row.outerStep, row.innerStep, row.outer, row.inner);
    }

    // The seams can only be made once every face, and so both ends, exists.
    auto index = [&](const SeamEnd& end, int k) {
        return faces[end.face].index(end.o + k * end.dO, end.n + k * end.dN);
    };
    for (const SeamRow& seam : kSeams) {
        for (int k = 0; k < seam.springs; ++k) {
            box.addSpring(index(seam.first, k), index(seam.second, k), seam.axis);
        }
    }

    box.finish();
}
