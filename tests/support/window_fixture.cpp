#include "render/camera.h"
#include "support/fixtures.h"

#include <cmath>

namespace {

// Through the model-view and projection matrices GL holds, into the window.
std::vector<double> project(Float3 p) {
    GLdouble model[16], projection[16], x, y, z;
    const GLint viewport[] = {0, 0, 1024, 768};
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    gluProject(p.x, p.y, p.z, model, projection, viewport, &x, &y, &z);
    return {x, y, z};
}

}  // namespace

::testing::AssertionResult isColour(Pixel p, Float3 c, int tolerance) {
    const long e[] = {std::lround(c.x * 255), std::lround(c.y * 255), std::lround(c.z * 255)};
    if (std::abs(p.r - e[0]) <= tolerance && std::abs(p.g - e[1]) <= tolerance && std::abs(p.b - e[2]) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "pixel (" << p.r << ", " << p.g << ", " << p.b << "), not (" << e[0] << ", "
                                         << e[1] << ", " << e[2] << ")";
}

void WindowTest::SetUp() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    eyeAnchor = lookAnchor = {0, 0, 0};
    static char name[] = "bramblewick-window-test", *argv[] = {name, nullptr};
    sandbox = std::make_unique<Sandbox>(1, argv);
    sandbox->initVideo();
    sandbox->initGraphics();
    sandbox->initPhysics();
}

void WindowTest::TearDown() {  // each test gets a window and a GL context of its own
    sandbox->destroyPhysics();
    gluDeleteQuadric(sandbox->quadric);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void WindowTest::drawFrame() {
    const double tool[] = {sandbox->toolPosition.x, sandbox->toolPosition.y, sandbox->toolPosition.z};
    for (int a = 0; a < 3; ++a) {
        eye[a] = float(eye[a] - (eye[a] - tool[a]) * 0.0075f);
        look[a] = float(look[a] - (look[a] - tool[a]) * 0.05f);
    }
    sandbox->render();
    frame.assign(1024 * 768 * 3, 0);
    glReadBuffer(GL_BACK);  // the software renderer keeps it through the swap
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
}

std::vector<double> WindowTest::promisedAt(Float3 point) const {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45, 1024.0 / 768.0, 10, 1000);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(eye[0] + 40, eye[1], eye[2] + 40, look[0] - 15, look[1], look[2], 0, 0, 1);
    const std::vector<double> at = project(point);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return at;
}

std::vector<double> WindowTest::programAt(Float3 point) const { return project(point); }

Pixel WindowTest::pixelAt(Float3 point) const {
    const std::vector<double> w = promisedAt(point);
    const long x = std::lround(w[0]), y = std::lround(w[1]);
    if (x < 0 || y < 0 || x >= 1024 || y >= 768) return {-1, -1, -1};
    const unsigned char* p = &frame[(y * 1024 + x) * 3];
    return {p[0], p[1], p[2]};
}
