#include "sandbox.h"
#include "render/light.h"

#include <GL/freeglut.h>

#include <cstdlib>

// Every object is drawn lit from above and, while reflections are on, a
// second time as its mirror image below the ground: the same shape at
// (x, y, -z) with its own orientation, lit from below. Each operation saves
// and restores the whole attribute state, so the colour and light position
// that the frame set are there again afterwards.

namespace {

struct Colour {
    float r, g, b;
};

constexpr Colour kBlockBlue = {0.5f, 0.5f, 1.0f};
constexpr Colour kEmptyBoxGreen = {0.5f, 1.0f, 0.75f};
constexpr Colour kCylinderYellow = {1.0f, 1.0f, 0.5f};
constexpr Colour kClothPink = {1.0f, 0.5f, 1.0f};
constexpr Colour kJawA = {1.0f, 1.0f, 0.0f};
constexpr Colour kJawB = {0.75f, 0.5f, 0.0f};
constexpr Colour kJawAMirror = {0.75f, 0.75f, 0.0f};
constexpr Colour kJawBMirror = {0.5f, 0.25f, 0.0f};
constexpr Colour kProjectileOrange = {1.0f, 0.75f, 0.25f};
constexpr Colour kStaticBlue = {0.0f, 0.0f, 0.8f};
constexpr float kBeanRed = 0.75f;
constexpr float kBeanBlue = 0.25f;
constexpr double kBeanGreenLow = 0.25;
constexpr double kBeanGreenHigh = 0.5;

constexpr int kRandomMax = 32767;  // randomBetween draws from 0..kRandomMax

void setColour(const Colour& c) {
    glColor3f(c.r, c.g, c.b);
}

void lightFrom(const GLfloat* position) {
    glLightfv(GL_LIGHT0, GL_POSITION, position);
}

template <typename Shape>
void drawAt(const float* m, Shape shape) {
    glPushMatrix();
    glMultMatrixf(m);
    shape();
    glPopMatrix();
}

// The pose matrix is changed in place: only its z translation flips.
template <typename Shape>
void drawMirrored(float* m, Shape shape) {
    m[14] = -m[14];
    drawAt(m, shape);
}

template <typename Pose, typename Shape>
void drawWithImage(Pose pose, bool reflect, Shape shape) {
    lightFrom(kLightFromAbove);
    float* m = pose();
    drawAt(m, shape);
    if (reflect) {
        lightFrom(kLightFromBelow);
        drawMirrored(m, shape);
    }
}

template <typename Shape>
void drawBodies(const BodyList& bodies, bool reflect, Shape shape) {
    for (dBodyID body : bodies) {
        drawWithImage([body] { return bodyMatrix(body); }, reflect, shape);
    }
}

template <typename Shape>
void drawStructures(const std::vector<BodyList>& structures, const Colour& colour, bool reflect,
                    Shape shape) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    setColour(colour);
    for (const BodyList& bodies : structures) drawBodies(bodies, reflect, shape);
    glPopAttrib();
}

template <typename Shape>
void drawSingles(const BodyList& bodies, const Colour& colour, bool reflect, Shape shape) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    setColour(colour);
    drawBodies(bodies, reflect, shape);
    glPopAttrib();
}

auto sphere(float radius, int slices, int stacks) {
    return [=] { glutSolidSphere(radius, slices, stacks); };
}

auto sphereOf(const StructureGroup& group) {
    return sphere(group.radius, group.slices, group.stacks);
}

auto sphereOf(const BodyGroup& group) {
    return sphere(group.radius, group.slices, group.stacks);
}

// ODE's rotation comes as three rows of four; OpenGL wants columns.
void fillMatrix(float* m, const dReal* p, const dReal* r) {
    // clang-format off
    m[0] = r[0];  m[1] = r[4];  m[2] = r[8];   m[3] = 0;
    m[4] = r[1];  m[5] = r[5];  m[6] = r[9];   m[7] = 0;
    m[8] = r[2];  m[9] = r[6];  m[10] = r[10]; m[11] = 0;
    m[12] = p[0]; m[13] = p[1]; m[14] = p[2];  m[15] = 1;
    // clang-format on
}

}  // namespace

float* bodyMatrix(dBodyID body) {
    static float m[16];
    fillMatrix(m, dBodyGetPosition(body), dBodyGetRotation(body));
    return m;
}

float* geomMatrix(dGeomID geom) {
    static float m[16];
    fillMatrix(m, dGeomGetPosition(geom), dGeomGetRotation(geom));
    return m;
}

// The C library's rand reaches far past 32767 here, so it is cut down to
// that range, or the result would run out of [low, high].
double randomBetween(double high, double low) {
    const int r = std::rand() & kRandomMax;
    return low + r * (high - low) / kRandomMax;
}

void Sandbox::drawSphereBoxes() {
    drawStructures(sphereBoxes.structures, kBlockBlue, showReflections, sphereOf(sphereBoxes));
}

void Sandbox::drawBoxBoxes() {
    const double edge = boxBoxes.sides.x;
    drawStructures(boxBoxes.structures, kBlockBlue, showReflections,
                   [edge] { glutSolidCube(edge); });
}

void Sandbox::drawEmptyBoxes() {
    drawStructures(emptyBoxes.structures, kEmptyBoxGreen, showReflections, sphereOf(emptyBoxes));
}

void Sandbox::drawSoftCylinders() {
    drawStructures(softCylinders.structures, kCylinderYellow, showReflections,
                   sphereOf(softCylinders));
}

void Sandbox::drawCloths() {
    drawStructures(cloths.structures, kClothPink, showReflections, sphereOf(cloths));
}

// Both jaws share one light setting; the pose is taken afresh for each
// mirror image because the second jaw's pose overwrote the matrix.
void Sandbox::drawTool() {
    const auto jaw = sphere(jawRadius, jawSlices, jawStacks);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    lightFrom(kLightFromAbove);
    setColour(kJawA);
    drawAt(geomMatrix(jawA), jaw);
    setColour(kJawB);
    drawAt(geomMatrix(jawB), jaw);
    if (showReflections) {
        lightFrom(kLightFromBelow);
        setColour(kJawAMirror);
        drawMirrored(geomMatrix(jawA), jaw);
        setColour(kJawBMirror);
        drawMirrored(geomMatrix(jawB), jaw);
    }
    glPopAttrib();
}

// One green for all beans of a frame, fresh every frame: the beans shimmer.
void Sandbox::drawBeans() {
    const float green = static_cast<float>(randomBetween(kBeanGreenHigh, kBeanGreenLow));
    drawSingles(beans.bodies, {kBeanRed, green, kBeanBlue}, showReflections, sphereOf(beans));
}

void Sandbox::drawBalls() {
    drawSingles(balls.bodies, kProjectileOrange, showReflections, sphereOf(balls));
}

// GLU's tube starts at the body's origin and runs along its local +z, open
// at both ends; the collision shape is centred on the body.
void Sandbox::drawShotCylinders() {
    const CylinderGroup& c = shotCylinders;
    GLUquadric* q = quadric;
    drawSingles(c.bodies, kProjectileOrange, showReflections,
                [&c, q] { gluCylinder(q, c.radius, c.radius, c.length, c.slices, c.stacks); });
}

void Sandbox::drawStaticSpheres() {
    const auto shape = sphere(staticSpheres.radius, staticSpheres.slices, staticSpheres.stacks);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    setColour(kStaticBlue);
    for (dGeomID geom : staticSpheres.geoms) {
        drawWithImage([geom] { return geomMatrix(geom); }, showReflections, shape);
    }
    glPopAttrib();
}
