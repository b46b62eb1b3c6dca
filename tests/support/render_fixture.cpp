#include "support/render_fixture.h"

#include "support/xvfb.h"

#include <cmath>
#include <cstdlib>

namespace {

char programName[] = "bramblewick-render-test";
char* testArgv[] = {programName, nullptr};

XvfbServer* server = nullptr;

// The server must outlive SDL's own clean-up at exit, which the window's
// start-up registers later and so runs first.
void stopServer() {
    delete server;
    server = nullptr;
}

void startServer() {
    if (server != nullptr) return;
    server = new XvfbServer();
    std::atexit(stopServer);
    setenv("DISPLAY", server->display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace

void RenderTest::SetUp() {
    startServer();
    sandbox = std::make_unique<Sandbox>(1, testArgv);
    sandbox->initVideo();
    sandbox->initGraphics();
    sandbox->initPhysics();
}

// Each test gets a window and an OpenGL context of its own, so that no
// state carries over from one test to the next.
void RenderTest::TearDown() {
    sandbox->destroyPhysics();
    gluDeleteQuadric(sandbox->quadric);
    sandbox.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void RenderTest::grabFrame() {
    const int w = sandbox->screenWidth;
    const int h = sandbox->screenHeight;
    frame.assign(static_cast<size_t>(w) * h * 3, 0);
    // The software renderer keeps the back buffer through a swap, and its
    // front buffer reads back empty: the frame is read from the back.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, frame.data());
}

bool RenderTest::project(float x, float y, float z, int& px, int& py) const {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx, wy, wz;
    if (!gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz)) return false;
    px = static_cast<int>(std::lround(wx));
    py = static_cast<int>(std::lround(wy));
    return px >= 0 && py >= 0 && px < sandbox->screenWidth && py < sandbox->screenHeight;
}

Pixel RenderTest::pixelAtWindow(int px, int py) const {
    if (px < 0 || py < 0 || px >= sandbox->screenWidth || py >= sandbox->screenHeight) {
        return {0, 0, 0};
    }
    const size_t i = (static_cast<size_t>(py) * sandbox->screenWidth + px) * 3;
    return {frame[i], frame[i + 1], frame[i + 2]};
}

Pixel RenderTest::pixelAt(float x, float y, float z) const {
    int px, py;
    EXPECT_TRUE(project(x, y, z, px, py)) << "off screen: " << x << ", " << y << ", " << z;
    return pixelAtWindow(px, py);
}

dBodyID RenderTest::addBody(float x, float y, float z) {
    const dBodyID body = dBodyCreate(sandbox->world);
    dBodySetPosition(body, x, y, z);
    return body;
}
