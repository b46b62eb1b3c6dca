// Frames drawn into the real window and read back: every kind of object in
// its colour, mirror images only while reflections are on, the joint view,
// and drawing that leaves the OpenGL state as it found it.
#include "support/render_fixture.h"

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace {

constexpr Colour kJawA = {1.0f, 1.0f, 0.0f};
constexpr Colour kJawB = {0.75f, 0.5f, 0.0f};
constexpr Colour kJawAMirror = {0.75f, 0.75f, 0.0f};
constexpr Colour kJawBMirror = {0.5f, 0.25f, 0.0f};

bool isWhite(const Pixel& p) {
    return p.r > 200 && p.g > 200 && p.b > 200;
}

// One kind of object: how to put one into the scene at a point, and the
// colour it must show.
struct Kind {
    std::string name;
    Colour colour;
    std::function<void(Sandbox&, dBodyID)> add;
    float centreAbove;  // height of the drawn centre above the body's origin
};

std::vector<Kind> kinds() {
    return {
        {"sphereBoxes", {0.5f, 0.5f, 1.0f},
         [](Sandbox& s, dBodyID b) { s.sphereBoxes = {{{}, {b}}, 1.0f, 12, 12}; }, 0},
        {"boxBoxes", {0.5f, 0.5f, 1.0f},
         [](Sandbox& s, dBodyID b) { s.boxBoxes = {{{b}}, {2.0f, 9.0f, 9.0f}}; }, 0},
        {"emptyBoxes", {0.5f, 1.0f, 0.75f},
         [](Sandbox& s, dBodyID b) { s.emptyBoxes = {{{b}}, 1.0f, 12, 12}; }, 0},
        {"softCylinders", {1.0f, 1.0f, 0.5f},
         [](Sandbox& s, dBodyID b) { s.softCylinders = {{{b}}, 1.0f, 12, 12}; }, 0},
        {"cloths", {1.0f, 0.5f, 1.0f},
         [](Sandbox& s, dBodyID b) { s.cloths = {{{b}}, 1.0f, 12, 12}; }, 0},
        {"balls", {1.0f, 0.75f, 0.25f},
         [](Sandbox& s, dBodyID b) { s.balls = {{b}, 1.5f, 15, 15}; }, 0},
        {"shotCylinders", {1.0f, 0.75f, 0.25f},
         [](Sandbox& s, dBodyID b) { s.shotCylinders = {{b}, 1.0f, 10.0f, 10, 10}; }, 5},
        {"staticSpheres", {0.0f, 0.0f, 0.8f},
         [](Sandbox& s, dBodyID b) {
             const dGeomID sphere = dCreateSphere(s.space, 1.5f);
             const dReal* p = dBodyGetPosition(b);
             dGeomSetPosition(sphere, p[0], p[1], p[2]);
             s.staticSpheres.geoms = {sphere};
             s.staticSpheres.radius = 1.5f;
             s.staticSpheres.slices = 20;
             s.staticSpheres.stacks = 20;
         }, 0},
    };
}

}  // namespace

TEST_F(RenderTest, EmptySceneShowsBothJawsAndTheirMirrorImages) {
    sandbox->render();
    grabFrame();
    EXPECT_TRUE(shows(pixelAt(0, -1.8f, 5), kJawA));
    EXPECT_TRUE(shows(pixelAt(0, 1.8f, 5), kJawB));
    EXPECT_TRUE(shows(pixelAt(0, -1.8f, -5), kJawAMirror));
    EXPECT_TRUE(shows(pixelAt(0, 1.8f, -5), kJawBMirror));
    EXPECT_TRUE(isBlack(pixelAt(0, 0, -12)));
}

TEST_F(RenderTest, ReflectionsOffLeaveNothingBelowTheGround) {
    sandbox->showReflections = false;
    sandbox->render();
    grabFrame();
    EXPECT_TRUE(shows(pixelAt(0, -1.8f, 5), kJawA));
    EXPECT_TRUE(shows(pixelAt(0, 1.8f, 5), kJawB));
    EXPECT_TRUE(isBlack(pixelAt(0, -1.8f, -5)));
    EXPECT_TRUE(isBlack(pixelAt(0, 1.8f, -5)));
}

TEST_F(RenderTest, EveryKindShowsInItsColourWithAMirrorImageOnlyWhileReflectionsAreOn) {
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        sandbox->onUserEvent(SDL_UserEvent{SDL_USEREVENT, 0, nullptr, nullptr});
        const float x = -4.0f, y = -9.0f, z = 8.0f;
        kind.add(*sandbox, addBody(x, y, z));
        const float centre = z + kind.centreAbove;
        const float image = -z + kind.centreAbove;

        sandbox->showReflections = true;
        sandbox->render();
        grabFrame();
        EXPECT_TRUE(shows(pixelAt(x, y, centre), kind.colour));
        EXPECT_TRUE(shows(pixelAt(x, y, image), kind.colour));

        sandbox->showReflections = false;
        sandbox->render();
        grabFrame();
        EXPECT_TRUE(shows(pixelAt(x, y, centre), kind.colour));
        EXPECT_TRUE(isBlack(pixelAt(x, y, image)));
    }
}

TEST_F(RenderTest, ABodyInsideAnEmptyStructureDoesNotStopTheOthers) {
    const dBodyID body = addBody(-4, -9, 8);
    sandbox->cloths = {{{}, {body}, {}}, 1.0f, 12, 12};
    sandbox->render();
    grabFrame();
    EXPECT_TRUE(shows(pixelAt(-4, -9, 8), {1.0f, 0.5f, 1.0f}));
}

TEST_F(RenderTest, BeansShareOneGreenPerFrameThatShimmersBetweenFrames) {
    const dBodyID left = addBody(0, -7, 6);
    const dBodyID right = addBody(0, 7, 6);
    sandbox->beans = {{left, right}, 1.0f, 12, 12};
    sandbox->showReflections = false;

    std::set<int> greens;
    for (int frame = 0; frame < 12; ++frame) {
        sandbox->render();
        grabFrame();
        // A lit bean shows k (0.75, g, 0.25) plus some white highlight; the
        // differences between channels cancel the highlight out.
        auto green = [](const Pixel& p) { return 0.25 + 0.5 * (p.g - p.b) / double(p.r - p.b); };
        const double g = green(pixelAt(0, -7, 6));
        EXPECT_NEAR(g, green(pixelAt(0, 7, 6)), 0.01);
        EXPECT_GE(g, 0.25 - 0.01);
        EXPECT_LE(g, 0.5 + 0.01);
        greens.insert(static_cast<int>(g * 100));
    }
    EXPECT_GT(greens.size(), 2u);
}

TEST_F(RenderTest, SpringsShowAsWhiteLinesOnlyWithTheJointViewOnAndNeverMirrored) {
    const dBodyID a = addBody(-6, -8, 10);
    const dBodyID b = addBody(-6, 8, 10);
    const dJointID spring = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(spring, a, b);

    auto lineAt = [this](float z) { return anyNear(-6, 0, z, 2, isWhite); };

    sandbox->showJoints = true;
    sandbox->render();
    grabFrame();
    EXPECT_FALSE(lineAt(10)) << "no springs recorded, nothing to draw";

    sandbox->springs.joints.push_back(spring);
    sandbox->render();
    grabFrame();
    EXPECT_TRUE(lineAt(10));
    EXPECT_FALSE(lineAt(-10));

    sandbox->showJoints = false;
    sandbox->render();
    grabFrame();
    EXPECT_FALSE(lineAt(10));
}

TEST_F(RenderTest, EveryDrawingOperationRestoresColourLightAndMatrix) {
    for (const Kind& kind : kinds()) kind.add(*sandbox, addBody(-4, -9, 8));
    sandbox->beans = {{addBody(0, 6, 6)}, 1.0f, 12, 12};
    const dJointID spring = dJointCreateSlider(sandbox->world, nullptr);
    dJointAttach(spring, addBody(-6, -8, 10), addBody(-6, 8, 10));
    sandbox->springs.joints.push_back(spring);
    sandbox->render();

    const std::vector<std::pair<const char*, void (Sandbox::*)()>> operations = {
        {"drawSphereBoxes", &Sandbox::drawSphereBoxes},
        {"drawBoxBoxes", &Sandbox::drawBoxBoxes},
        {"drawEmptyBoxes", &Sandbox::drawEmptyBoxes},
        {"drawSoftCylinders", &Sandbox::drawSoftCylinders},
        {"drawCloths", &Sandbox::drawCloths},
        {"drawTool", &Sandbox::drawTool},
        {"drawBeans", &Sandbox::drawBeans},
        {"drawBalls", &Sandbox::drawBalls},
        {"drawShotCylinders", &Sandbox::drawShotCylinders},
        {"drawStaticSpheres", &Sandbox::drawStaticSpheres},
        {"drawJoints", &Sandbox::drawJoints},
    };
    const GLfloat light[] = {1.0f, 2.0f, 3.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glColor3f(0.3f, 0.6f, 0.9f);
    GLfloat colourBefore[4], lightBefore[4], matrixBefore[16];
    glGetFloatv(GL_CURRENT_COLOR, colourBefore);
    glGetLightfv(GL_LIGHT0, GL_POSITION, lightBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrixBefore);

    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        (sandbox.get()->*operation)();
        GLfloat colour[4], position[4], matrix[16];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetLightfv(GL_LIGHT0, GL_POSITION, position);
        glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(colour[i], colourBefore[i]);
            EXPECT_FLOAT_EQ(position[i], lightBefore[i]);
        }
        for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(matrix[i], matrixBefore[i]);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST(PoseMatrix, HoldsTheRotationAndThePositionInColumnMajorOrder) {
    dInitODE2(0);
    const dWorldID world = dWorldCreate();
    const dBodyID body = dBodyCreate(world);
    dMatrix3 rotation;
    dRFromEulerAngles(rotation, 0.3, -0.7, 1.1);
    dBodySetRotation(body, rotation);
    dBodySetPosition(body, 1, 2, 3);
    const dReal* r = dBodyGetRotation(body);

    const float* m = bodyMatrix(body);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_FLOAT_EQ(m[column * 4 + row], r[row * 4 + column]);
        }
        EXPECT_EQ(m[row * 4 + 3], 0.0f);
    }
    EXPECT_EQ(m[12], 1.0f);
    EXPECT_EQ(m[13], 2.0f);
    EXPECT_EQ(m[14], 3.0f);
    EXPECT_EQ(m[15], 1.0f);

    const dGeomID geom = dCreateSphere(nullptr, 1);
    dGeomSetPosition(geom, 7, 8, 9);
    const float* g = geomMatrix(geom);
    EXPECT_NE(g, m);
    EXPECT_EQ(g[14], 9.0f);
    EXPECT_EQ(m[14], 3.0f);  // the body's matrix is not overwritten by the geom's
    dGeomDestroy(geom);
    dWorldDestroy(world);
}

TEST(RandomBetween, StaysWithinItsBoundsAndReachesBothEnds) {
    double lowest = 1, highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const double g = randomBetween(0.5, 0.25);
        ASSERT_GE(g, 0.25);
        ASSERT_LE(g, 0.5);
        lowest = std::min(lowest, g);
        highest = std::max(highest, g);
    }
    EXPECT_LT(lowest, 0.251);
    EXPECT_GT(highest, 0.499);
}
