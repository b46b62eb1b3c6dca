#include "support/window_fixture.h"

#include "render/camera.h"
#include "support/xvfb.h"

#include <cmath>
#include <cstdlib>

namespace {

char programName[] = "bramblewick-window-test";
char* testArgv[] = {programName, nullptr};

std::vector<double> projectWith(const GLdouble* model, const GLdouble* projection, Float3 p) {
    const GLint viewport[] = {0, 0, 1024, 768};
    GLdouble x, y, z;
    gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
    return {x, y, z};
}

}  // namespace

void TrailingCamera::follow(Float3 tool) {
    const double target[] = {tool.x, tool.y, tool.z};
    for (int a = 0; a < 3; ++a) {
        eye[a] = static_cast<float>(eye[a] - (eye[a] - target[a]) * 0.0075f);
        look[a] = static_cast<float>(look[a] - (look[a] - target[a]) * 0.05f);
    }
}

std::vector<double> TrailingCamera::project(Float3 point) const {
    GLdouble model[16], projection[16];
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 768.0, 10, 1000);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eye[0] + 40, eye[1], eye[2] + 40, look[0] - 15, look[1], look[2], 0, 0, 1);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glPopMatrix();
    return projectWith(model, projection, point);
}

Float3 TrailingCamera::backwards() const {
    const double d[] = {eye[0] + 40 - (look[0] - 15), eye[1] - look[1], eye[2] + 40 - look[2]};
    const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    return {float(d[0] / n), float(d[1] / n), float(d[2] / n)};
}

void WindowTest::SetUp() {
    useProcessServer();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    eyeAnchor = lookAnchor = {0, 0, 0};
    sandbox = std::make_unique<Sandbox>(1, testArgv);
    sandbox->initVideo();
    sandbox->initGraphics();
    sandbox->initPhysics();
}

// Each test gets a window and an OpenGL context of its own.
void WindowTest::TearDown() {
    sandbox->destroyPhysics();
    gluDeleteQuadric(sandbox->quadric);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowTest::drawFrame() {
    camera.follow(sandbox->toolPosition);
    sandbox->render();
    // The software renderer keeps the back buffer through the swap.
    frame.assign(1024 * 768 * 3, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
}

Pixel WindowTest::pixelAt(Float3 point) const {
    const std::vector<double> w = camera.project(point);
    const long x = std::lround(w[0]), y = std::lround(w[1]);
    if (x < 0 || y < 0 || x >= 1024 || y >= 768) return {-1, -1, -1};
    const size_t i = (y * 1024 + x) * 3;
    return {frame[i], frame[i + 1], frame[i + 2]};
}

std::vector<double> WindowTest::programProjects(Float3 point) const {
    GLdouble model[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    return projectWith(model, projection, point);
}

::testing::AssertionResult isColour(Pixel p, Float3 c, int tolerance) {
    const int e[] = {int(std::lround(c.x * 255)), int(std::lround(c.y * 255)),
                     int(std::lround(c.z * 255))};
    if (std::abs(p.r - e[0]) <= tolerance && std::abs(p.g - e[1]) <= tolerance &&
        std::abs(p.b - e[2]) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "pixel (" << p.r << ", " << p.g << ", " << p.b
                                         << "), expected (" << e[0] << ", " << e[1] << ", "
                                         << e[2] << ")";
}
