// The window and the frames the program draws in it: camera, light, mirror images, colours (read
// where only the ambient light falls, a quarter of the colour) and spring lines.
#include "support/fixtures.h"

#include "render/camera.h"

#include <cmath>
#include <set>

using ::testing::DoubleNear;
using ::testing::FloatEq;
using ::testing::Pointwise;
using FrameTest = WindowTest;
using DrawTest = WindowTest;

TEST_F(FrameTest, TheWindowIsAFullScreenDoubleBufferedGlWindowThatHoldsTheInput) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    EXPECT_EQ(std::make_pair(screen->w, screen->h), std::make_pair(1024, 768));
    EXPECT_EQ(screen->flags & (SDL_FULLSCREEN | SDL_OPENGL), Uint32(SDL_FULLSCREEN | SDL_OPENGL));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
    int doubleBuffer = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    EXPECT_EQ(doubleBuffer, 1);
}

// It looks 15 along -x from an anchor that closes 5 % a frame, from 40 back and up from one that
// closes 0.75 %: it turns after the tool at once and travels after it slowly.
TEST_F(FrameTest, TheCameraTrailsTheToolAndKeepsItsPlaceAcrossAReset) {
    double eye[3] = {0, 0, 0}, look[3] = {0, 0, 0};
    for (int pass = 0; pass < 80; ++pass) {
        if (pass == 1) send({event(SDL_MOUSEMOTION, 400, -200)});
        if (pass == 40) send({event(SDL_KEYDOWN, SDLK_r)});
        const Float3& t = sandbox->toolPosition;
        const double tool[] = {t.x, t.y, t.z};
        for (int a = 0; a < 3; ++a) {
            eye[a] = float(eye[a] - (eye[a] - tool[a]) * 0.0075f);
            look[a] = float(look[a] - (look[a] - tool[a]) * 0.05f);
        }
        drawFrame();
        GLdouble program[2][16], promised[2][16];
        glGetDoublev(GL_PROJECTION_MATRIX, program[0]);
        glGetDoublev(GL_MODELVIEW_MATRIX, program[1]);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(45, 1024.0 / 768.0, 10, 1000);
        glGetDoublev(GL_MODELVIEW_MATRIX, promised[0]);
        glLoadIdentity();
        gluLookAt(eye[0] + 40, eye[1], eye[2] + 40, look[0] - 15, look[1], look[2], 0, 0, 1);
        glGetDoublev(GL_MODELVIEW_MATRIX, promised[1]);
        glPopMatrix();
        ASSERT_THAT(program[0], Pointwise(DoubleNear(1e-9), promised[0])) << "lens, frame " << pass;
        ASSERT_THAT(program[1], Pointwise(DoubleNear(1e-5), promised[1])) << "view, frame " << pass;
    }
}

// Lit from above, a tilted box's top shows the light's equation; its image below the ground keeps
// the box's tilt: a true mirror image would have no top back corners.
TEST_F(FrameTest, ABodyIsLitFromAboveAndItsImageFromBelowWithTheBodysOwnTilt) {
    sandbox->dropBoxBox();
    const dBodyID box = sandbox->boxBoxes.structures.at(0)[0];
    dBodySetPosition(box, 10, 6, 4);
    dMatrix3 tilt;
    dRFromAxisAndAngle(tilt, 2, 2, 1, M_PI / 8);  // about no axis of the world
    dBodySetRotation(box, tilt);
    drawFrame();
    const Float3 top = {float(tilt[2]), float(tilt[6]), float(tilt[10])};  // the face's normal
    // The viewer is far away: towards the eye from the view's centre, wherever the face.
    const Float3 e = eyeAnchor, l = lookAnchor;
    const Float3 back = {e.x + 55 - l.x, e.y - l.y, e.z + 40 - l.z};
    const float length = std::hypot(back.x, back.y, back.z);
    const Float3 half = {back.x / length, back.y / length, back.z / length + 1};  // and the light
    const float cosine =
        (top.x * half.x + top.y * half.y + top.z * half.z) / std::hypot(half.x, half.y, half.z);
    const float highlight = 0.75f * std::pow(cosine, 50);
    const float ambient = 0.2f + 0.05f;  // the scene's and the light's
    auto lit = [&](float c) { return std::min(1.0f, c * (ambient + top.z) + highlight); };
    EXPECT_TRUE(
        isColour(pixelAt({10 + top.x, 6 + top.y, 4 + top.z}), {lit(0.5f), lit(0.5f), lit(1)}));
    for (float side : {-0.9f, 0.9f}) {
        dVector3 corner;  // of the box, and its image's 8 lower
        dBodyGetRelPointPos(box, -0.9f, side, 0.9f, corner);
        EXPECT_TRUE(isDrawn(pixelAt({float(corner[0]), float(corner[1]), float(corner[2] - 8)})))
            << "the image's top back corner on the side " << side;
    }
}

// The jaws and their images each have a colour, smoothly shaded; beans share a shimmering green.
TEST_F(DrawTest, JawsStaticSpheresAndBeansShowTheirOwnColours) {
    sandbox->toolPosition = {10, 6, 6.5f};
    sandbox->addStaticSphere();
    for (float y : {-6.0f, -9.0f}) {
        sandbox->dropBean();
        dBodySetPosition(sandbox->beans.bodies.back(), 12, y, 1.5f);
    }
    std::set<int> greens;
    for (int frame = 0; frame < 8; ++frame) {
        drawFrame();
        const Pixel first = pixelAt({12, -6, 2.5f}), second = pixelAt({12, -9, 2.5f});
        EXPECT_TRUE(isColour(second, {first.r / 255.0f, first.g / 255.0f, first.b / 255.0f}))
            << "the second bean's top against the first's";
        greens.insert(pixelAt({12, -6, -0.5f}).g);  // of the image, a quarter of the beans' green
    }
    EXPECT_THAT(greens, ::testing::Each(::testing::AllOf(::testing::Ge(15), ::testing::Le(33))));
    EXPECT_GT(greens.size(), 1u) << "greens in 8 frames";
    // Each sphere's faces towards the camera just below its equator, and a point of each image.
    auto band = [&](Float3 c, float r) {
        return pixelAt({c.x + r * std::cos(0.0785f), c.y, c.z - r * std::sin(0.0785f)});
    };
    auto quarter = [](Float3 c) { return Float3{c.x / 4, c.y / 4, c.z / 4}; };
    EXPECT_TRUE(isColour(band({10, 6, 6.5f}, 4), quarter({0, 0, 0.8f}))) << "the static sphere";
    EXPECT_TRUE(isColour(pixelAt({10, 6, -2.5f}), quarter({0, 0, 0.8f}))) << "its image";
    EXPECT_TRUE(isColour(band({0, -1, 5}, 2), quarter({1, 1, 0}))) << "jaw A";
    EXPECT_TRUE(isColour(pixelAt({0, -1, -3}), quarter({0.75f, 0.75f, 0}))) << "its image";
    EXPECT_TRUE(isColour(band({0, 1, 5}, 2), quarter({0.75f, 0.5f, 0}))) << "jaw B";
    EXPECT_TRUE(isColour(pixelAt({0, 1, -3}), quarter({0.5f, 0.25f, 0}))) << "its image";
    const std::vector<double> centre = windowAt({0, -1, 5});
    std::set<int> reds;  // down jaw A's lit face, below its centre: not a band for each stack
    for (long row = std::lround(centre[1]) - 20; row < std::lround(centre[1]); ++row) {
        reds.insert(frame[(row * 1024 + std::lround(centre[0])) * 3]);
    }
    EXPECT_GE(reds.size(), 15u) << "shades of red in 20 pixels";
}

// A cloth spread out low shows its springs while j has them on, as white lines between its nodes'
// centres, never below the ground, and looks the same far past the sixteen frames that would fill
// the attribute stack; each drawing step hands back the colour, light and stacks it found.
TEST_F(DrawTest, SpringsShowAsWhiteLinesAndEveryDrawingStepLeavesTheStateAsItFoundIt) {
    tap(SDLK_4);
    for (dBodyID node : sandbox->cloths.structures.at(0)) {  // 2.4 apart, at a height of 3
        const Float3 p = position(node);
        dBodySetPosition(node, 2 * p.x, 2 * p.y, 3);
    }
    eyeAnchor = lookAnchor = sandbox->toolPosition;         // the camera at rest
    auto whiteAcross = [this](float x, float y, float z) {  // a line is a pixel thin
        int white = 0;
        for (float dz : {-0.1f, -0.05f, 0.0f, 0.05f, 0.1f}) {
            white += isColour(pixelAt({x, y, z + dz}), {1, 1, 1}, 0);
        }
        return white;
    };
    tap(SDLK_j);
    drawFrame();
    EXPECT_GT(whiteAcross(4.8f, 6, 3), 0) << "between two nodes";
    EXPECT_EQ(whiteAcross(4.8f, 4.8f, 3), 0) << "inside a node";
    EXPECT_EQ(whiteAcross(6, 6, 3), 0) << "across a cell, from one spring to the next";
    EXPECT_EQ(whiteAcross(4.8f, 6, -3), 0) << "below the ground";
    for (int n = 0; n < 40; ++n) drawFrame();
    EXPECT_TRUE(isColour(pixelAt({4.8f, 4.8f, -2.4f}), {0.25f, 0.125f, 0.25f}))
        << "a node's image, 40 frames on";
    tap(SDLK_j);
    drawFrame();
    EXPECT_EQ(whiteAcross(4.8f, 6, 3), 0) << "j pressed again";

    for (SDLKey key : {SDLK_1, SDLK_6, SDLK_2, SDLK_3, SDLK_0, SDLK_5}) tap(key);
    click(SDL_BUTTON_LEFT);
    click(SDL_BUTTON_RIGHT);
    const std::pair<const char*, void (Sandbox::*)()> kSteps[] = {
        {"sphere blocks", &Sandbox::drawSphereBoxes},
        {"box blocks", &Sandbox::drawBoxBoxes},
        {"empty boxes", &Sandbox::drawEmptyBoxes},
        {"tubes", &Sandbox::drawSoftCylinders},
        {"cloths", &Sandbox::drawCloths},
        {"the tool", &Sandbox::drawTool},
        {"beans", &Sandbox::drawBeans},
        {"balls", &Sandbox::drawBalls},
        {"sweepers", &Sandbox::drawShotCylinders},
        {"static spheres", &Sandbox::drawStaticSpheres},
        {"springs", &Sandbox::drawJoints}};
    auto state = [] {
        std::vector<float> s(10);
        glGetFloatv(GL_CURRENT_COLOR, &s[0]);
        glGetLightfv(GL_LIGHT0, GL_POSITION, &s[4]);
        glGetFloatv(GL_ATTRIB_STACK_DEPTH, &s[8]);
        glGetFloatv(GL_MODELVIEW_STACK_DEPTH, &s[9]);
        return s;
    };
    const GLfloat side[] = {30, -20, 10, 1};
    for (const auto& [name, draw] : kSteps) {
        glColor3f(0.1f, 0.2f, 0.3f);
        glLightfv(GL_LIGHT0, GL_POSITION, side);
        const std::vector<float> before = state();
        (sandbox.get()->*draw)();
        EXPECT_THAT(state(), Pointwise(FloatEq(), before))
            << "colour, light position, attribute and matrix stack depths after " << name;
    }
}
