// The camera trails the tool from where it stood at start-up. It lives for
// the whole process, so these tests run in a program of their own, in order.
#include "support/render_fixture.h"

namespace {

std::vector<double> lookAt(double ex, double ey, double ez, double cx, double cy, double cz) {
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(ex, ey, ez, cx, cy, cz, 0, 0, 1);
    std::vector<double> m(16);
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    glPopMatrix();
    return m;
}

std::vector<double> currentView() {
    std::vector<double> m(16);
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

void expectNear(const std::vector<double>& actual, const std::vector<double>& expected,
                double tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
}

// The eye of a view matrix [R | t] stands at -R^T t.
Float3 eyeOf(const std::vector<double>& m) {
    float eye[3];
    for (int i = 0; i < 3; ++i) {
        eye[i] = static_cast<float>(-(m[i * 4] * m[12] + m[i * 4 + 1] * m[13] + m[i * 4 + 2] * m[14]));
    }
    return {eye[0], eye[1], eye[2]};
}

}  // namespace

TEST_F(RenderTest, CameraTrailsTheToolFromTheOriginAndAResetLeavesItInPlace) {
    // First frame: the eye's anchor closes 0.75 % and the centre's 5 % of
    // the way from the origin to the tool at (0, 0, 5).
    sandbox->render();
    expectNear(currentView(), lookAt(40, 0, 40.0375, -15, 0, 0.25), 1e-4);

    // A tool held still: the view settles 40 forward and 40 up from it,
    // looking 15 beyond it.
    for (int i = 0; i < 2500; ++i) sandbox->render();
    expectNear(currentView(), lookAt(40, 0, 45, -15, 0, 5), 1e-3);

    // Far away, then reset: the camera starts back from where it was.
    sandbox->toolPosition = {100.0f, 50.0f, 5.0f};
    for (int i = 0; i < 50; ++i) sandbox->render();
    const Float3 before = eyeOf(currentView());
    EXPECT_GT(before.x, 60.0f);
    sandbox->onUserEvent(SDL_UserEvent{SDL_USEREVENT, 0, nullptr, nullptr});
    sandbox->render();
    const Float3 after = eyeOf(currentView());
    EXPECT_NEAR(after.x, before.x, 1.0);
    EXPECT_NEAR(after.y, before.y, 1.0);
    EXPECT_NEAR(after.z, before.z, 1.0);
}
