// The window, the camera that trails the tool, the light, the tool's and the static spheres'
// colours (read where only the ambient light falls, a quarter of the colour) and the spring lines,
// as they show in the frames the program draws.
#include "support/fixtures.h"

#include <SDL_mixer.h>

#include <cmath>

using FrameTest = WindowTest;
using DrawTest = WindowTest;

TEST_F(FrameTest, TheWindowIsAFullScreenDoubleBufferedGlWindowThatHoldsTheInput) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    int doubleBuffer = 0, depth = 0, frequency = 0, channels = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_TRUE(screen->w == 1024 && screen->h == 768 && (screen->flags & SDL_FULLSCREEN) &&
                (screen->flags & SDL_OPENGL));
    EXPECT_TRUE(SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE &&
                SDL_WM_GrabInput(SDL_GRAB_QUERY) == SDL_GRAB_ON);
    EXPECT_TRUE(doubleBuffer == 1 && depth >= 16 && std::string(title) == "Bramblewick");
    sandbox->initAudio();  // on the dummy device: the device as the program asks for it
    Uint16 format = 0;
    EXPECT_TRUE(Mix_QuerySpec(&frequency, &format, &channels) && frequency == 44100 &&
                format == AUDIO_S16LSB && channels == 2);
}

// Frame by frame the camera turns after the tool, then slowly travels after it; a reset of the
// scene leaves it where it was. Where nothing stands the picture is black.
TEST_F(FrameTest, TheCameraTrailsTheToolAndKeepsItsPlaceAcrossAReset) {
    auto expectPromisedView = [this] {
        for (Float3 p :
             {Float3{0, -1, 5}, {-15, 0, 0}, {-200, 60, -30}, {12, -9, 20}, {-700, 0, 0}}) {
            const std::vector<double> program = programAt(p), promised = promisedAt(p);
            EXPECT_TRUE(std::abs(program[0] - promised[0]) < 0.05 &&
                        std::abs(program[1] - promised[1]) < 0.05);
            EXPECT_NEAR(program[2], promised[2], 1e-6);  // depth: the near and far planes
        }
    };
    drawFrame();
    expectPromisedView();
    EXPECT_TRUE(isColour(pixelAt({-100, 0, -20}), {0, 0, 0}, 0));
    for (SDL_Event e : {event(SDL_MOUSEMOTION, 400, -200), event(SDL_KEYDOWN, SDLK_r)}) {
        SDL_PushEvent(&e);
        sandbox->handleEvents();
        for (int i = 0; i < 40; ++i) drawFrame();
        expectPromisedView();
    }
}

// A box tilted towards the camera: its top face, lit from above, shows the light's equation
// exactly, highlight included; the same face of its mirror image, lit from below, only the ambient
// light.
TEST_F(FrameTest, TheLightShinesFromAboveOnTheSceneAndFromBelowOnItsImage) {
    sandbox->dropBoxBox();
    const dBodyID box = sandbox->boxBoxes.structures.at(0)[0];
    dBodySetPosition(box, 10, 6, 4);
    dMatrix3 tilt;
    dRFromAxisAndAngle(tilt, 0, 1, 0, M_PI / 12);
    dBodySetRotation(box, tilt);
    drawFrame();
    const Float3 top = {float(tilt[2]), float(tilt[6]), float(tilt[10])};  // the face's normal
    const double back[] = {eye[0] + 55 - look[0], eye[1] - look[1],
                           eye[2] + 40 - look[2]};  // from the view's centre
    const double length = std::hypot(back[0], back[1], back[2]);
    const Float3 half = {float(back[0] / length), float(back[1] / length),
                         float(back[2] / length + 1)};  // and the light
    const float highlight = 0.75f * std::pow((top.x * half.x + top.y * half.y + top.z * half.z) /
                                                 std::hypot(half.x, half.y, half.z),
                                             50.0f);
    const float ambient = 0.2f + 0.05f;  // the scene's and the light's
    auto lit = [&](float c) { return std::min(1.0f, c * (ambient + top.z) + highlight); };
    EXPECT_TRUE(
        isColour(pixelAt({10 + top.x, 6 + top.y, 4 + top.z}), {lit(0.5f), lit(0.5f), lit(1)}));
    EXPECT_TRUE(isColour(pixelAt({10 + top.x, 6 + top.y, -4 + top.z}),
                         {0.5f * ambient, 0.5f * ambient, ambient}));
}

// The jaws and their images each have a colour of their own; a static sphere is deep blue where its
// geom stands; all beans share one green per frame.
TEST_F(DrawTest, JawsStaticSpheresAndBeansShowTheirOwnColours) {
    sandbox->toolPosition = {10, 6, 6.5f};
    sandbox->addStaticSphere();
    for (float y : {-6.0f, -9.0f}) {
        sandbox->dropBean();
        dBodySetPosition(sandbox->beans.bodies.back(), 12, y, 1.5f);
    }
    drawFrame();
    EXPECT_EQ(pixelAt({12, -6, -0.5f}).g, pixelAt({12, -9, -0.5f}).g);
    // Each sphere's band of faces just below its equator (its 20 stacks put one there) towards the
    // camera.
    auto band = [&](Float3 c, float r) {
        return pixelAt({c.x + r * std::cos(0.0785f), c.y, c.z - r * std::sin(0.0785f)});
    };
    auto quarter = [](Float3 c) { return Float3{c.x / 4, c.y / 4, c.z / 4}; };
    EXPECT_TRUE(isColour(pixelAt({10, 6, -2.5f}), quarter({0, 0, 0.8f})));
    EXPECT_TRUE(isColour(band({10, 6, 6.5f}, 4), quarter({0, 0, 0.8f})));
    EXPECT_TRUE(isColour(band({0, -1, 5}, 2), quarter({1, 1, 0})));
    EXPECT_TRUE(isColour(pixelAt({0, -1, -3}), quarter({0.75f, 0.75f, 0})));
    EXPECT_TRUE(isColour(band({0, 1, 5}, 2), quarter({0.75f, 0.5f, 0})));
    EXPECT_TRUE(isColour(pixelAt({0, 1, -3}), quarter({0.5f, 0.25f, 0})));
}

// Springs show as white lines between the centres of their two nodes, each on its own, only on
// request and never below the ground.
TEST_F(DrawTest, SpringsShowAsWhiteLinesOnlyWhenAskedFor) {
    for (float x : {10.0f, 14.0f}) {
        const dBodyID a = dBodyCreate(sandbox->world), b = dBodyCreate(sandbox->world);
        dBodySetPosition(a, x, 3, 3), dBodySetPosition(b, x, 9, 3);
        sandbox->springs.joints.push_back(dJointCreateSlider(sandbox->world, nullptr));
        dJointAttach(sandbox->springs.joints.back(), a, b);
    }
    auto whiteAcross = [this](float x,
                              float z) {  // a line is a pixel thin: look a little above and below
        int white = 0;
        for (float dz : {-0.1f, -0.05f, 0.0f, 0.05f, 0.1f})
            white += isColour(pixelAt({x, 6, z + dz}), {1, 1, 1}, 0);
        return white;
    };
    drawFrame();
    const int hidden = whiteAcross(10, 3);
    sandbox->showJoints = true;
    drawFrame();
    EXPECT_TRUE(hidden == 0 && whiteAcross(10, 3) > 0 && whiteAcross(14, 3) > 0) << hidden;
    EXPECT_TRUE(whiteAcross(12, 3) == 0 &&
                whiteAcross(10, -3) == 0);  // nothing from one spring to the next
}
