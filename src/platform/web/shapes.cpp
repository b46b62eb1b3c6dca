// GLUT's solid sphere and cube and GLU's cylinder for the browser build, tessellated as freeglut
// 3.4 and GLU 9.0 do, vertex for vertex and in the same arithmetic (single-precision tables from
// double-precision sines), so that silhouettes and shading match the desktop's.
#include "fixed_function.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

// GLU's quadric holds how it draws; only its defaults exist here: filled, smooth normals, facing
// outwards, no texture coordinates.
class GLUquadric {};

namespace {

enum ShapeKind { kSphere, kCube, kCylinder };

constexpr int kGluMaxSlices = 239;  // GLU keeps a table of 240 angles and draws no more slices

void addVertex(Mesh& mesh, GLfloat x, GLfloat y, GLfloat z, GLfloat nx, GLfloat ny, GLfloat nz) {
    mesh.vertices.insert(mesh.vertices.end(), {x, y, z, nx, ny, nz});
}

// A triangle strip as triangles, every other one turned round as GL turns it; the strips of GLUT's
// sphere repeat its poles, and those triangles without area draw nothing.
void addStrip(Mesh& mesh, const std::vector<GLuint>& strip) {
    for (size_t k = 0; k + 2 < strip.size(); ++k) {
        const GLuint a = strip[k + (k & 1)], b = strip[k + 1 - (k & 1)], c = strip[k + 2];
        if (a == b || b == c || a == c) continue;
        mesh.triangles.insert(mesh.triangles.end(), {a, b, c});
    }
}

// GLUT's table of sines and cosines at n steps round a full or half circle, the last the first
// again (or the half circle's end); a negative n turns the other way.
void circleTable(int n, bool halfCircle, std::vector<GLfloat>& sines,
                 std::vector<GLfloat>& cosines) {
    const int size = std::abs(n);
    const GLfloat angle = (halfCircle ? 1 : 2) * GLfloat(M_PI) / GLfloat(n == 0 ? 1 : n);
    sines.assign(size + 1, 0);
    cosines.assign(size + 1, 1);
    for (int i = 1; i < size; ++i) {
        sines[i] = GLfloat(std::sin(double(angle * i)));
        cosines[i] = GLfloat(std::cos(double(angle * i)));
    }
    if (halfCircle) cosines[size] = -1;
}

// Poles on the z axis, one ring of slices per stack boundary, and a strip per stack from the
// north pole down; the normal is the unit vector to the vertex.
Mesh sphereMesh(const ShapeKey& key) {
    Mesh mesh;
    const GLfloat radius = GLfloat(key.size[0]);
    const int slices = key.slices, stacks = key.stacks;
    if (slices < 1 || stacks < 2) return mesh;
    std::vector<GLfloat> sin1, cos1, sin2, cos2;
    circleTable(-slices, false, sin1, cos1);
    circleTable(stacks, true, sin2, cos2);
    addVertex(mesh, 0, 0, radius, 0, 0, 1);
    for (int i = 1; i < stacks; ++i) {
        for (int j = 0; j < slices; ++j) {
            const GLfloat x = cos1[j] * sin2[i], y = sin1[j] * sin2[i], z = cos2[i];
            addVertex(mesh, x * radius, y * radius, z * radius, x, y, z);
        }
    }
    addVertex(mesh, 0, 0, -radius, 0, 0, -1);
    mesh.closed = slices >= 3 && radius > 0;  // fewer slices make it flat; less radius, inside out
    const GLuint south = slices * (stacks - 1) + 1;
    auto ring = [slices](int stack, int j) { return GLuint(1 + stack * slices + j % slices); };
    std::vector<GLuint> strip;
    for (int stack = 0; stack < stacks; ++stack) {
        strip.clear();
        for (int j = 0; j <= slices; ++j) {
            if (stack == 0) {
                strip.insert(strip.end(), {ring(0, j), 0});
            } else if (stack == stacks - 1) {
                strip.insert(strip.end(), {south, ring(stack - 1, j)});
            } else {
                strip.insert(strip.end(), {ring(stack, j), ring(stack - 1, j)});
            }
        }
        addStrip(mesh, strip);
    }
    return mesh;
}

// GLUT's unit cube: corners, one normal per face, and each face's corners in order.
constexpr GLfloat kCubeCorners[8][3] = {{.5f, .5f, .5f},   {-.5f, .5f, .5f},  {-.5f, -.5f, .5f},
                                        {.5f, -.5f, .5f},  {.5f, -.5f, -.5f}, {.5f, .5f, -.5f},
                                        {-.5f, .5f, -.5f}, {-.5f, -.5f, -.5f}};
constexpr GLfloat kCubeNormals[6][3] = {{0, 0, 1},  {1, 0, 0},  {0, 1, 0},
                                        {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
constexpr int kCubeFaces[6][4] = {{0, 1, 2, 3}, {0, 3, 4, 5}, {0, 5, 6, 1},
                                  {1, 6, 7, 2}, {7, 4, 3, 2}, {4, 7, 6, 5}};

// Each face is two triangles that share its first and third corners.
Mesh cubeMesh(const ShapeKey& key) {
    Mesh mesh;
    const GLfloat size = GLfloat(key.size[0]);
    for (GLuint face = 0; face < 6; ++face) {
        const GLfloat* n = kCubeNormals[face];
        for (int corner : kCubeFaces[face]) {
            const GLfloat* c = kCubeCorners[corner];
            addVertex(mesh, size * c[0], size * c[1], size * c[2], n[0], n[1], n[2]);
        }
        const GLuint first = 4 * face;
        mesh.triangles.insert(mesh.triangles.end(),
                              {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    mesh.closed = size > 0;  // a negative size turns it inside out
    return mesh;
}

// The side of GLU's cylinder: its normal's z and its length in the xy plane, from the slope
// between the radii; false where GLU draws nothing.
bool cylinderSide(const ShapeKey& key, GLfloat& zNormal, GLfloat& xyNormal) {
    const double base = key.size[0], top = key.size[1], height = key.size[2];
    if (key.slices < 2 || key.stacks < 1 || base < 0 || top < 0 || height < 0) return false;
    const GLfloat deltaRadius = base - top;
    const GLfloat length = std::sqrt(deltaRadius * deltaRadius + height * height);
    if (length == 0) return false;
    zNormal = deltaRadius / length;
    xyNormal = height / length;
    return true;
}

// GLU's cylinder: rings from z = 0 to the height, the radius going from base to top, each stack a
// quad strip between two rings; the angle starts at +y and turns towards +x.
Mesh cylinderMesh(const ShapeKey& key) {
    Mesh mesh;
    GLfloat zNormal, xyNormal;
    if (!cylinderSide(key, zNormal, xyNormal)) return mesh;
    const double base = key.size[0], top = key.size[1], height = key.size[2];
    const GLfloat deltaRadius = base - top;
    const int slices = std::min(key.slices, kGluMaxSlices), stacks = key.stacks;
    std::vector<GLfloat> sines(slices + 1), cosines(slices + 1), normalSines(slices + 1),
        normalCosines(slices + 1);
    for (int i = 0; i <= slices; ++i) {
        const GLfloat angle = 2 * M_PI * (i % slices) / slices;
        sines[i] = std::sin(double(angle));
        cosines[i] = std::cos(double(angle));
        normalSines[i] = xyNormal * std::sin(double(angle));
        normalCosines[i] = xyNormal * std::cos(double(angle));
    }
    for (int j = 0; j <= stacks; ++j) {
        const GLfloat z = j * height / stacks;
        const GLfloat radius = base - deltaRadius * (GLfloat(j) / stacks);
        for (int i = 0; i <= slices; ++i) {
            addVertex(mesh, radius * sines[i], radius * cosines[i], z, normalSines[i],
                      normalCosines[i], zNormal);
        }
    }
    for (int j = 0; j < stacks; ++j) {
        for (int i = 0; i < slices; ++i) {
            const GLuint low = j * (slices + 1) + i, high = low + slices + 1;
            mesh.triangles.insert(mesh.triangles.end(),
                                  {low, high, high + 1, low, high + 1, low + 1});
        }
    }
    return mesh;
}

}  // namespace

extern "C" {

// GLUT serves here for its shapes alone, which need no start-up; the page has its own events.
void glutInit(int*, char**) {}

void glutInitWarningFunc(void (*)(const char*, va_list)) {}

void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks) {
    drawShape(state(), {kSphere, {GLfloat(radius), 0, 0}, slices, stacks}, sphereMesh);
}

void glutSolidCube(GLdouble size) {
    drawShape(state(), {kCube, {GLfloat(size), 0, 0}, 0, 0}, cubeMesh);
}

GLUquadric* gluNewQuadric() {
    return new GLUquadric;
}

void gluDeleteQuadric(GLUquadric* quadric) {
    delete quadric;
}

// GLU gives each vertex its normal with glNormal3f: the last, the first slice's, stays current.
void gluCylinder(GLUquadric*, GLdouble base, GLdouble top, GLdouble height, GLint slices,
                 GLint stacks) {
    State& s = state();
    const ShapeKey key = {kCylinder, {base, top, height}, slices, stacks};
    GLfloat zNormal, xyNormal;
    if (!cylinderSide(key, zNormal, xyNormal)) return;
    s.now.normal = {0, xyNormal, zNormal};
    drawShape(s, key, cylinderMesh);
}

}  // extern "C"
