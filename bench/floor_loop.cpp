#include "floor_loop.h"

#include <GL/freeglut.h>

namespace bench {
namespace {

// The values that a pass of the sandbox hands to the libraries.
constexpr int kMaxContacts = 8;
constexpr dReal kFriction = 1000.0f;
constexpr double kStep = 1.0 / 60.0;
const GLfloat kTop[] = {0.0f, 0.0f, 50.0f, 0.0f};
const GLfloat kBottom[] = {0.0f, 0.0f, -50.0f, 0.0f};
constexpr double kEyeOffset[] = {40.0, 0.0, 40.0};
constexpr double kCentreOffset[] = {-15.0, 0.0, 0.0};
constexpr float kJawColours[2][3] = {{1.0f, 1.0f, 0.0f}, {0.75f, 0.5f, 0.0f}};
constexpr float kJawImageColours[2][3] = {{0.75f, 0.75f, 0.0f}, {0.5f, 0.25f, 0.0f}};
constexpr float kBeanGreen = 0.375f;  // the sandbox draws a fresh one each frame

// Only mode and mu are read under mode 0, so only they are written.
void nearCallback(void* data, dGeomID a, dGeomID b) {
    dContact contacts[kMaxContacts];
    const int count = dCollide(a, b, kMaxContacts, &contacts[0].geom, sizeof(dContact));
    if (count == 0) return;
    const auto* target = static_cast<const FloorLoop::ContactTarget*>(data);
    const dBodyID bodyA = dGeomGetBody(a);
    const dBodyID bodyB = dGeomGetBody(b);
    for (int i = 0; i < count; ++i) {
        contacts[i].surface.mode = 0;
        contacts[i].surface.mu = kFriction;
        dJointAttach(dJointCreateContact(target->world, target->group, &contacts[i]), bodyA,
                     bodyB);
    }
}

void pose(float* m, const dReal* p, const dReal* r) {
    m[0] = r[0];  m[1] = r[4];  m[2] = r[8];   m[3] = 0;
    m[4] = r[1];  m[5] = r[5];  m[6] = r[9];   m[7] = 0;
    m[8] = r[2];  m[9] = r[6];  m[10] = r[10]; m[11] = 0;
    m[12] = p[0]; m[13] = p[1]; m[14] = p[2];  m[15] = 1;
}

using Run = FloorLoop::Run;
using Shape = FloorLoop::Shape;

Run run(float r, float g, float b, Shape shape, float size, int slices, int stacks) {
    Run made{};
    made.colour[0] = r;
    made.colour[1] = g;
    made.colour[2] = b;
    made.shape = shape;
    made.size = size;
    made.slices = slices;
    made.stacks = stacks;
    return made;
}

Run structures(const StructureGroup& group, float r, float g, float b) {
    Run made = run(r, g, b, Shape::kSphere, group.radius, group.slices, group.stacks);
    for (const BodyList& bodies : group.structures) {
        made.bodies.insert(made.bodies.end(), bodies.begin(), bodies.end());
    }
    return made;
}

Run singles(const BodyGroup& group, float r, float g, float b) {
    Run made = run(r, g, b, Shape::kSphere, group.radius, group.slices, group.stacks);
    made.bodies = group.bodies;
    return made;
}

void addIfDrawn(std::vector<Run>& runs, Run made) {
    if (!made.bodies.empty() || !made.geoms.empty()) runs.push_back(std::move(made));
}

}  // namespace

FloorLoop::FloorLoop(const Sandbox& source, Float3 tool)
    : target_{source.world, source.contactGroup},
      space_(source.space),
      step_(static_cast<float>(kStep)),
      eye_{tool.x + kEyeOffset[0], tool.y + kEyeOffset[1], tool.z + kEyeOffset[2]},
      centre_{tool.x + kCentreOffset[0], tool.y + kCentreOffset[1], tool.z + kCentreOffset[2]},
      quadric_(gluNewQuadric()),
      jaws_{source.jawA, source.jawB},
      jawRadius_(source.jawRadius),
      jawSlices_(source.jawSlices),
      jawStacks_(source.jawStacks) {
    addIfDrawn(beforeTool_, structures(source.sphereBoxes, 0.5f, 0.5f, 1.0f));
    Run boxes = run(0.5f, 0.5f, 1.0f, Shape::kCube, source.boxBoxes.sides.x, 0, 0);
    for (const BodyList& bodies : source.boxBoxes.structures) {
        boxes.bodies.insert(boxes.bodies.end(), bodies.begin(), bodies.end());
    }
    addIfDrawn(beforeTool_, std::move(boxes));
    addIfDrawn(beforeTool_, structures(source.emptyBoxes, 0.5f, 1.0f, 0.75f));
    addIfDrawn(beforeTool_, structures(source.softCylinders, 1.0f, 1.0f, 0.5f));
    addIfDrawn(beforeTool_, structures(source.cloths, 1.0f, 0.5f, 1.0f));

    addIfDrawn(afterTool_, singles(source.beans, 0.75f, kBeanGreen, 0.25f));
    addIfDrawn(afterTool_, singles(source.balls, 1.0f, 0.75f, 0.25f));
    const CylinderGroup& shots = source.shotCylinders;
    Run tubes = run(1.0f, 0.75f, 0.25f, Shape::kTube, shots.radius, shots.slices, shots.stacks);
    tubes.length = shots.length;
    tubes.bodies = shots.bodies;
    addIfDrawn(afterTool_, std::move(tubes));
    const GeomList& statics = source.staticSpheres;
    Run spheres = run(0.0f, 0.0f, 0.8f, Shape::kSphere, statics.radius, statics.slices,
                      statics.stacks);
    spheres.geoms = statics.geoms;
    addIfDrawn(afterTool_, std::move(spheres));
}

FloorLoop::~FloorLoop() {
    gluDeleteQuadric(quadric_);
}

void FloorLoop::collide() {
    dJointGroupEmpty(target_.group);
    dSpaceCollide(space_, &target_, nearCallback);
}

void FloorLoop::solve() {
    dWorldQuickStep(target_.world, step_);
}

// The view's rows are the camera's side, up and backward axes and its last
// column the eye turned into those axes: the eye comes back out through the
// transpose, and the centre lies one unit forward of it.
void FloorLoop::lookLike(const GLfloat* view) {
    for (int j = 0; j < 3; ++j) {
        eye_[j] = -(view[4 * j] * view[12] + view[4 * j + 1] * view[13] + view[4 * j + 2] * view[14]);
        centre_[j] = eye_[j] - view[4 * j + 2];
    }
}

void FloorLoop::draw(bool reflect) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(eye_[0], eye_[1], eye_[2], centre_[0], centre_[1], centre_[2], 0, 0, 1);
    glLightfv(GL_LIGHT0, GL_POSITION, kTop);
    for (const Run& each : beforeTool_) drawRun(each, reflect);
    drawTool(reflect);
    for (const Run& each : afterTool_) drawRun(each, reflect);
    SDL_GL_SwapBuffers();
}

void FloorLoop::drawRun(const Run& run, bool reflect) const {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glColor3f(run.colour[0], run.colour[1], run.colour[2]);
    float m[16];
    for (dBodyID body : run.bodies) {
        pose(m, dBodyGetPosition(body), dBodyGetRotation(body));
        drawImages(run, m, reflect);
    }
    for (dGeomID geom : run.geoms) {
        pose(m, dGeomGetPosition(geom), dGeomGetRotation(geom));
        drawImages(run, m, reflect);
    }
    glPopAttrib();
}

void FloorLoop::drawImages(const Run& run, float* m, bool reflect) const {
    glLightfv(GL_LIGHT0, GL_POSITION, kTop);
    glPushMatrix();
    glMultMatrixf(m);
    drawShape(run);
    glPopMatrix();
    if (!reflect) return;
    glLightfv(GL_LIGHT0, GL_POSITION, kBottom);
    m[14] = -m[14];
    glPushMatrix();
    glMultMatrixf(m);
    drawShape(run);
    glPopMatrix();
}

void FloorLoop::drawShape(const Run& run) const {
    switch (run.shape) {
        case Shape::kSphere:
            glutSolidSphere(run.size, run.slices, run.stacks);
            break;
        case Shape::kCube:
            glutSolidCube(run.size);
            break;
        case Shape::kTube:
            gluCylinder(quadric_, run.size, run.size, run.length, run.slices, run.stacks);
            break;
    }
}

void FloorLoop::drawTool(bool reflect) const {
    float m[16];
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glLightfv(GL_LIGHT0, GL_POSITION, kTop);
    for (int i = 0; i < 2; ++i) {
        pose(m, dGeomGetPosition(jaws_[i]), dGeomGetRotation(jaws_[i]));
        glColor3f(kJawColours[i][0], kJawColours[i][1], kJawColours[i][2]);
        glPushMatrix();
        glMultMatrixf(m);
        glutSolidSphere(jawRadius_, jawSlices_, jawStacks_);
        glPopMatrix();
    }
    if (reflect) {
        glLightfv(GL_LIGHT0, GL_POSITION, kBottom);
        for (int i = 0; i < 2; ++i) {
            pose(m, dGeomGetPosition(jaws_[i]), dGeomGetRotation(jaws_[i]));
            m[14] = -m[14];
            glColor3f(kJawImageColours[i][0], kJawImageColours[i][1], kJawImageColours[i][2]);
            glPushMatrix();
            glMultMatrixf(m);
            glutSolidSphere(jawRadius_, jawSlices_, jawStacks_);
            glPopMatrix();
        }
    }
    glPopAttrib();
}

}  // namespace bench
