#include "sandbox.h"
#include "render/camera.h"
#include "render/light.h"

#include <GL/freeglut.h>

#include <cstdarg>

Float3 eyeAnchor = {0.0f, 0.0f, 0.0f};
Float3 lookAnchor = {0.0f, 0.0f, 0.0f};
float eyeFollowRate = 0.0075f;
float lookFollowRate = 0.05f;

namespace {

constexpr float kEyeBack = 40.0f;    // eye this far towards +x from its anchor
constexpr float kEyeAbove = 40.0f;   // and this far above it
constexpr float kLookAhead = 15.0f;  // centre of view this far towards -x

constexpr double kFieldOfView = 45.0;
constexpr double kNearPlane = 10.0;
constexpr double kFarPlane = 1000.0;

void follow(Float3& anchor, const Float3& target, float rate) {
    anchor.x = static_cast<float>(anchor.x - (static_cast<double>(anchor.x) - target.x) * rate);
    anchor.y = static_cast<float>(anchor.y - (static_cast<double>(anchor.y) - target.y) * rate);
    anchor.z = static_cast<float>(anchor.z - (static_cast<double>(anchor.z) - target.z) * rate);
}

// The GLUT library draws its shapes only after its own start-up; it serves
// for nothing else here, so it is started once, after the window exists.
// It never sees the user's command line: the sandbox takes no options, and
// GLUT would act on its own (-display, -geometry, -gldebug, ...). Nor does it
// speak: on Windows it still looks for a display named by $DISPLAY, and its
// warning that there is none would tell the user of nothing that matters.
void initShapeLibrary() {
    static char name[] = "bramblewick";
    static char* arguments[] = {name, nullptr};
    static int count = 1;
    static bool started = false;
    if (started) return;
    started = true;
    glutInitWarningFunc([](const char*, va_list) {});
    glutInit(&count, arguments);
}

}  // namespace

double Sandbox::aspectRatio() {
    return static_cast<double>(screenWidth) / screenHeight;
}

void Sandbox::initGraphics() {
    initShapeLibrary();

    glViewport(0, 0, screenWidth, screenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, aspectRatio(), kNearPlane, kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glClearColor(0, 0, 0, 0);

    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);

    const GLfloat ambient[] = {0.05f, 0.05f, 0.05f, 1.0f};
    const GLfloat specular[] = {0.75f, 0.75f, 0.75f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 50.0f);
    glShadeModel(GL_SMOOTH);

    quadric = gluNewQuadric();
}

void Sandbox::render() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    const Float3 target = toolPosition;
    follow(eyeAnchor, target, eyeFollowRate);
    follow(lookAnchor, target, lookFollowRate);
    gluLookAt(static_cast<double>(eyeAnchor.x) + kEyeBack, eyeAnchor.y,
              static_cast<double>(eyeAnchor.z) + kEyeAbove,
              static_cast<double>(lookAnchor.x) - kLookAhead, lookAnchor.y, lookAnchor.z, 0, 0, 1);

    glLightfv(GL_LIGHT0, GL_POSITION, kLightFromAbove);

    if (!sphereBoxes.structures.empty()) drawSphereBoxes();
    if (!boxBoxes.structures.empty()) drawBoxBoxes();
    if (!emptyBoxes.structures.empty()) drawEmptyBoxes();
    if (!softCylinders.structures.empty()) drawSoftCylinders();
    if (!cloths.structures.empty()) drawCloths();
    drawTool();
    if (!beans.bodies.empty()) drawBeans();
    if (!balls.bodies.empty()) drawBalls();
    if (!shotCylinders.bodies.empty()) drawShotCylinders();
    if (!staticSpheres.geoms.empty()) drawStaticSpheres();
    if (showJoints && !springs.joints.empty()) drawJoints();

    SDL_GL_SwapBuffers();
}
