// What each kind of object looks like on screen: its colour and that of its
// mirror image, told apart where only the ambient light reaches them, so
// that the colour itself shows, not a multiple of it; the spring lines; and
// the drawing state that every drawing operation hands back unchanged.
#include "support/window_fixture.h"

#include <cmath>
#include <functional>

namespace {

// Where only the ambient light (a quarter of full light) falls: on a
// sphere drawn with an even number of stacks, the band just below its
// equator, facing the camera; with an odd number, the band below that.
Float3 belowEquator(Float3 centre, float radius, int stacks) {
    const double latitude = -M_PI / (stacks % 2 == 0 ? 2 * stacks : stacks);
    return {static_cast<float>(centre.x + radius * std::cos(latitude)), centre.y,
            static_cast<float>(centre.z + radius * std::sin(latitude))};
}

Float3 quarter(Float3 c) {
    return {c.x / 4, c.y / 4, c.z / 4};
}

Float3 mirrored(Float3 p) {
    return {p.x, p.y, -p.z};
}

// One kind: how to make one, where to stand it, its colours, and a point of
// its mirror image, relative to the image's centre, that the light from
// below does not reach. Every mirror image stands clear of its body.
struct Look {
    const char* name;
    std::function<dBodyID(Sandbox&)> make;  // the one body left to draw
    Float3 at;
    Float3 colour;
    Float3 shade;      // relative to the mirror image's centre
    float from, to;    // the body's extent along y, relative to its centre
};

template <typename Drop>
std::function<dBodyID(Sandbox&)> firstOf(Drop drop, StructureGroup Sandbox::*group) {
    return [drop, group](Sandbox& s) {
        (s.*drop)();
        BodyList& bodies = (s.*group).structures.at(0);
        bodies.resize(1);
        return bodies[0];
    };
}

const Look kLooks[] = {
    {"SphereBlock", firstOf(&Sandbox::dropSphereBox, &Sandbox::sphereBoxes), {12, 6, 0.9f},
     {0.5f, 0.5f, 1}, {0, 0, 0.25f}, -0.25f, 0.25f},
    {"EmptyBox", firstOf(&Sandbox::dropEmptyBox, &Sandbox::emptyBoxes), {12, 6, 1.2f},
     {0.5f, 1, 0.75f}, {0, 0, 0.5f}, -0.5f, 0.5f},
    {"Cylinder", firstOf(&Sandbox::dropCylinder, &Sandbox::softCylinders), {12, 6, 1},
     {1, 1, 0.5f}, {0, 0, 0.3f}, -0.3f, 0.3f},
    {"Cloth", firstOf(&Sandbox::dropCloth, &Sandbox::cloths), {12, 6, 1.4f}, {1, 0.5f, 1},
     {0, 0, 0.6f}, -0.6f, 0.6f},
    {"BoxBlock",
     [](Sandbox& s) {
         s.dropBoxBox();
         s.boxBoxes.structures.at(0).resize(1);
         return s.boxBoxes.structures[0][0];
     },
     {10, 6, 2.5f}, {0.5f, 0.5f, 1}, {0, 0, 1}, -1, 1},
    {"Ball",
     [](Sandbox& s) {
         s.fireBall();
         return s.balls.bodies[0];
     },
     {10, 6, 2.5f}, {1, 0.75f, 0.25f}, {0, 0, 1.5f}, -1.5f, 1.5f},
    {"Sweeper",  // its tube runs 10 along world y from the body's centre
     [](Sandbox& s) {
         s.fireCylinder();
         return s.shotCylinders.bodies[0];
     },
     {10, 3, 2.5f}, {1, 0.75f, 0.25f}, {-0.29f, 5, 0.9f}, 0, 10},
};

class LookTest : public WindowTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(LookTest, BodyAndItsMirrorImageShowTheirKindsColourAndSize) {
    const Look& look = kLooks[GetParam()];
    const dBodyID body = look.make(*sandbox);
    dBodySetPosition(body, look.at.x, look.at.y, look.at.z);
    drawFrame();
    const Float3 image = mirrored(look.at);
    const Float3 shade = {image.x + look.shade.x, image.y + look.shade.y, image.z + look.shade.z};
    EXPECT_TRUE(isColour(pixelAt(shade), quarter(look.colour)));
    sandbox->showReflections = false;
    drawFrame();
    EXPECT_TRUE(isColour(pixelAt(shade), {0, 0, 0}, 0));

    // Close to the camera: drawn just inside its ends along y, not just outside.
    const Float3 near = {18, -(look.from + look.to) / 2, 18};
    dBodySetPosition(body, near.x, near.y, near.z);
    drawFrame();
    const float margin = 0.1f * (look.to - look.from);
    auto brightness = [&](float y) {
        const Pixel p = pixelAt({near.x, near.y + y, near.z});
        return p.r + p.g + p.b;
    };
    EXPECT_GT(brightness(look.from + margin), 20);
    EXPECT_GT(brightness(look.to - margin), 20);
    EXPECT_EQ(brightness(look.from - margin), 0);
    EXPECT_EQ(brightness(look.to + margin), 0);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, LookTest, ::testing::Range(0, 7),
                         [](const auto& info) { return kLooks[info.param].name; });

using DrawTest = WindowTest;

// The two jaws differ in colour, and so do their images; a jaw is lit only
// by the ambient light just below its equator.
TEST_F(DrawTest, JawsAndTheirImagesEachHaveTheirOwnColour) {
    drawFrame();
    struct Jaw {
        Float3 centre, colour, image;
    };
    for (const Jaw& jaw : {Jaw{{0, -1, 5}, {1, 1, 0}, {0.75f, 0.75f, 0}},
                           Jaw{{0, 1, 5}, {0.75f, 0.5f, 0}, {0.5f, 0.25f, 0}}}) {
        EXPECT_TRUE(isColour(pixelAt(belowEquator(jaw.centre, 2, 20)), quarter(jaw.colour)));
        EXPECT_TRUE(isColour(pixelAt({0, jaw.centre.y, -3}), quarter(jaw.image)));
    }
}

// Beans share one green per frame, between a quarter and a half; their red
// and blue are fixed.
TEST_F(DrawTest, BeansShareOneShimmeringGreenPerFrame) {
    for (float y : {6.0f, 9.0f}) {
        sandbox->dropBean();
        dBodySetPosition(sandbox->beans.bodies.back(), 12, y, 1.5f);
    }
    for (int frameCount = 0; frameCount < 3; ++frameCount) {
        drawFrame();
        const Pixel a = pixelAt({12, 6, -0.5f});
        const Pixel b = pixelAt({12, 9, -0.5f});
        EXPECT_TRUE(isColour({a.r, 0, a.b}, quarter({0.75f, 0, 0.25f})));
        EXPECT_EQ(a.g, b.g);
        EXPECT_GE(a.g, 15);
        EXPECT_LE(a.g, 33);
    }
}

// Static spheres are drawn where their geoms stand.
TEST_F(DrawTest, StaticSphereAndItsImageAreDeepBlue) {
    sandbox->toolPosition = {10, 6, 6.5f};
    sandbox->addStaticSphere();
    drawFrame();
    EXPECT_TRUE(isColour(pixelAt({10, 6, -2.5f}), quarter({0, 0, 0.8f})));
    EXPECT_TRUE(isColour(pixelAt(belowEquator({10, 6, 6.5f}, 4, 20)), quarter({0, 0, 0.8f})));
}

// Springs show as white lines between the centres of their nodes, only on
// request and never below the ground.
TEST_F(DrawTest, SpringsShowAsWhiteLinesOnlyWhenAskedFor) {
    sandbox->dropCloth();
    for (dBodyID node : sandbox->cloths.structures.at(0)) dBodySetPosition(node, 100, 0, 300);
    const dJointID spring = sandbox->springs.joints.at(0);
    dBodySetPosition(dJointGetBody(spring, 0), 10, 3, 3);
    dBodySetPosition(dJointGetBody(spring, 1), 10, 9, 3);
    const Float3 middle = {10, 6, 3};

    // A line is one pixel thin: look a pixel or two above and below.
    auto whiteAcross = [this](Float3 p) {
        int white = 0;
        for (float dz : {-0.1f, -0.05f, 0.0f, 0.05f, 0.1f}) {
            white += isColour(pixelAt({p.x, p.y, p.z + dz}), {1, 1, 1}, 0);
        }
        return white;
    };
    drawFrame();
    EXPECT_EQ(whiteAcross(middle), 0);
    sandbox->showJoints = true;
    drawFrame();
    EXPECT_GT(whiteAcross(middle), 0);
    EXPECT_EQ(whiteAcross(mirrored(middle)), 0);
}

// Whatever each drawing operation changes, it hands the colour and the
// light back as it found them.
TEST_F(DrawTest, EveryDrawingOperationRestoresColourAndLight) {
    for (auto make : {&Sandbox::dropSphereBox, &Sandbox::dropBoxBox, &Sandbox::dropEmptyBox,
                      &Sandbox::dropCylinder, &Sandbox::dropCloth, &Sandbox::dropBean,
                      &Sandbox::fireBall, &Sandbox::fireCylinder, &Sandbox::addStaticSphere}) {
        (sandbox.get()->*make)();
    }
    using Draw = void (Sandbox::*)();
    for (Draw draw : {&Sandbox::drawSphereBoxes, &Sandbox::drawBoxBoxes, &Sandbox::drawEmptyBoxes,
                      &Sandbox::drawSoftCylinders, &Sandbox::drawCloths, &Sandbox::drawTool,
                      &Sandbox::drawBeans, &Sandbox::drawBalls, &Sandbox::drawShotCylinders,
                      &Sandbox::drawStaticSpheres, &Sandbox::drawJoints}) {
        const GLfloat light[] = {0.1f, 0.2f, 0.3f, 0.0f};
        glColor3f(0.2f, 0.4f, 0.6f);
        glLightfv(GL_LIGHT0, GL_POSITION, light);
        (sandbox.get()->*draw)();
        GLfloat colour[4], after[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        glGetLightfv(GL_LIGHT0, GL_POSITION, after);
        EXPECT_TRUE(isColour({int(colour[0] * 255), int(colour[1] * 255), int(colour[2] * 255)},
                             {0.2f, 0.4f, 0.6f}, 1));
        EXPECT_FLOAT_EQ(after[2], 0.3f);
    }
}
