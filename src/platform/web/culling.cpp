// What need not reach the browser's software renderer, whose cost goes with the triangles it is
// given: draws that lie wholly outside the view, and the back faces of closed shapes. Both are
// chosen per draw on the CPU. The renderer decides which way a triangle faces after rounding its
// corners to its subpixel grid, which can turn a triangle seen nearly edge on; such triangles are
// kept, for WebGL's own culling to decide, so that no pixel is lost.
#include "fixed_function.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr size_t kMeshFloats = 6;           // position and normal, as a Mesh has them
constexpr size_t kPlaneFloats = 7;          // corner, normal, perimeter over area
constexpr GLfloat kNearMargin = 1.01f;      // the shape must clear the near plane by this much
constexpr GLfloat kOutsideMargin = 1.01f;   // and a side of the view, to be left out
constexpr GLfloat kSnapAllowance = 0.125f;  // pixels a corner may move in rounding, with room
constexpr GLfloat kRigidTolerance = 1e-4f;  // columns this close to orthonormal keep angles

using Vector = std::array<GLfloat, 3>;

Vector sub(const GLfloat* a, const GLfloat* b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vector cross(const GLfloat* a, const GLfloat* b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

GLfloat dot(const GLfloat* a, const GLfloat* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

GLfloat length(const Vector& v) {
    return std::sqrt(dot(v.data(), v.data()));
}

// A turn and a shift, which keep lengths and angles: the modelview of every body.
bool isRigid(const Matrix& m) {
    const GLfloat* column[3] = {&m[0], &m[4], &m[8]};
    for (int i = 0; i < 3; ++i) {
        for (int j = i; j < 3; ++j) {
            if (std::fabs(dot(column[i], column[j]) - (i == j)) > kRigidTolerance) return false;
        }
    }
    return m[3] == 0 && m[7] == 0 && m[11] == 0 && m[15] == 1;
}

// Where the eye is in the shape's coordinates, under a rigid modelview: the turn undone on minus
// the shift.
Vector eyeIn(const Matrix& m) {
    Vector eye;
    for (int i = 0; i < 3; ++i) eye[i] = -dot(&m[4 * i], &m[12]);
    return eye;
}

}  // namespace

FaceSet faceSetOf(const Mesh& mesh) {
    FaceSet faces;
    faces.closed = mesh.closed;
    faces.triangles = mesh.triangles;
    for (size_t v = 0; v < mesh.vertices.size(); v += kMeshFloats) {
        const GLfloat* p = &mesh.vertices[v];
        faces.radius = std::max(faces.radius, std::sqrt(dot(p, p)));
    }
    for (size_t t = 0; t < mesh.triangles.size(); t += 3) {
        const GLfloat* corner[3];
        for (int i = 0; i < 3; ++i) corner[i] = &mesh.vertices[mesh.triangles[t + i] * kMeshFloats];
        const Vector edges[3] = {sub(corner[1], corner[0]), sub(corner[2], corner[1]),
                                 sub(corner[0], corner[2])};
        const Vector normal = cross(edges[0].data(), sub(corner[2], corner[0]).data());
        const GLfloat perimeter = length(edges[0]) + length(edges[1]) + length(edges[2]);
        faces.planes.insert(faces.planes.end(), corner[0], corner[0] + 3);
        faces.planes.insert(faces.planes.end(), normal.begin(), normal.end());
        faces.planes.push_back(2 * perimeter / std::max(length(normal), 1e-30f));
    }
    return faces;
}

// The view's six sides as planes in eye coordinates, inside where a x + b y + c z + d >= 0: the
// clip volume's -w <= x, y, z <= w under the projection. Culling back faces needs the depth test,
// without which a back face drawn later would show, and a projection that divides by the eye's
// depth and keeps the turn of triangles, as gluPerspective's and glFrustum's do.
CullingView cullingViewOf(const BatchState& batch) {
    const Matrix& p = batch.projection;
    CullingView view{};
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign : {1, -1}) {
            auto& plane = view.sides[2 * axis + (sign < 0)];
            for (int c = 0; c < 4; ++c) plane[c] = p[4 * c + 3] + sign * p[4 * c + axis];
        }
    }
    const bool perspective = p[3] == 0 && p[7] == 0 && p[11] == -1 && p[12] == 0 && p[13] == 0 &&
                             p[15] == 0 && p[10] != 1;
    const bool keepsTurn = p[0] * p[5] - p[4] * p[1] > 0;
    if (!(batch.switches & kDepthTest) || !perspective || !keepsTurn) return view;
    view.nearPlane = std::max(0.0f, p[14] / (p[10] - 1));
    view.pixelsPerUnit =
        std::min(std::fabs(p[0]) * batch.viewport[2], std::fabs(p[5]) * batch.viewport[3]) / 2;
    return view;
}

// The shape's sphere, moved by the modelview and grown by the most it can stretch (nothing under a
// turn, at most the matrix's norm otherwise), lies wholly on the outer side of one of the sides.
bool outsideView(const FaceSet& faces, const Matrix& m, const CullingView& view) {
    if (m[3] != 0 || m[7] != 0 || m[11] != 0 || m[15] != 1) return false;
    GLfloat stretch = 1;
    if (!isRigid(m)) {
        stretch = std::sqrt(dot(&m[0], &m[0]) + dot(&m[4], &m[4]) + dot(&m[8], &m[8]));
    }
    const GLfloat reach = faces.radius * stretch * kOutsideMargin;
    for (const auto& plane : view.sides) {
        const GLfloat distance = dot(plane.data(), &m[12]) + plane[3];
        if (distance < -reach * std::sqrt(dot(plane.data(), plane.data()))) return true;
    }
    return false;
}

// The inside shows where the modelview mirrors the shape or divides its coordinates, or where the
// near plane cuts it open.
bool backFacesHidden(const FaceSet& faces, const Matrix& m, const CullingView& view) {
    if (!faces.closed || view.nearPlane <= 0) return false;
    if (m[3] != 0 || m[7] != 0 || m[11] != 0 || m[15] != 1) return false;
    const Vector c1 = {m[4], m[5], m[6]}, c2 = {m[8], m[9], m[10]};
    const GLfloat determinant = dot(&m[0], cross(c1.data(), c2.data()).data());
    const GLfloat depthReach = faces.radius * std::hypot(m[2], m[6], m[10]);
    return determinant > 0 && m[14] + depthReach < -view.nearPlane * kNearMargin;
}

// A triangle faces the eye when the eye lies on the side of its plane its normal points to. Seen
// at a cosine c, a triangle of area A and perimeter P at a distance between near and far spans
// at least A c (f / far)² pixels, and rounding its corners by s pixels changes that by at most
// s P f / near: below that cosine its turn is left to WebGL.
void appendFrontFaces(const FaceSet& faces, const Matrix& modelview, const CullingView& view,
                      GLuint firstVertex, std::vector<GLushort>& indices) {
    const bool choose = isRigid(modelview) && view.pixelsPerUnit > 0;
    const GLfloat nearest = -modelview[14] - faces.radius, farthest = nearest + 2 * faces.radius;
    const GLfloat edgeOn = kSnapAllowance * farthest * farthest / (view.pixelsPerUnit * nearest);
    const Vector eye = eyeIn(modelview);
    for (size_t t = 0; t < faces.triangles.size(); t += 3) {
        const GLfloat* plane = &faces.planes[t / 3 * kPlaneFloats];
        if (choose) {
            const Vector toEye = sub(eye.data(), plane);
            const GLfloat side = dot(toEye.data(), plane + 3);
            const GLfloat reach = length(toEye) * std::sqrt(dot(plane + 3, plane + 3));
            if (side < -edgeOn * plane[6] * reach) continue;
        }
        for (int i = 0; i < 3; ++i) indices.push_back(firstVertex + faces.triangles[t + i]);
    }
}
