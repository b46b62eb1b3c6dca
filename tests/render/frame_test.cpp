// The window, the camera that trails the tool, and the light, as they show
// in the frames the program draws.
#include "support/window_fixture.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstring>

using FrameTest = WindowTest;

namespace {

// Points across the view, near and far, and one beside the tool.
const Float3 kLandmarks[] = {{0, -1, 5}, {-15, 0, 0}, {-200, 60, -30}, {12, -9, 20}, {-700, 0, 0}};

void expectSameView(const std::vector<double>& program, const std::vector<double>& expected) {
    EXPECT_NEAR(program[0], expected[0], 0.05);
    EXPECT_NEAR(program[1], expected[1], 0.05);
    EXPECT_NEAR(program[2], expected[2], 1e-6);  // depth: the near and far planes
}

float dot(Float3 a, Float3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

TEST_F(FrameTest, WindowIsAFullScreenDoubleBufferedGlWindowThatHoldsTheInput) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(SDL_WM_GrabInput(SDL_GRAB_QUERY), SDL_GRAB_ON);
    int doubleBuffer = 0, depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffer);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    EXPECT_EQ(doubleBuffer, 1);
    EXPECT_GE(depth, 16);
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Bramblewick");

    sandbox->initAudio();  // on the dummy device: the device as the program asks for it
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 44100);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);
}

// The first frame: the anchors have moved from the origin a step towards
// the tool, and the picture is black where nothing stands.
TEST_F(FrameTest, FirstFrameSeesTheWorldThroughTheTrailingCamera) {
    drawFrame();
    for (Float3 p : kLandmarks) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y << ", " << p.z);
        expectSameView(programProjects(p), camera.project(p));
    }
    EXPECT_TRUE(isColour(pixelAt({-100, 0, -20}), {0, 0, 0}, 0));
}

// The camera first turns after the tool, then slowly travels after it, and
// a reset of the scene leaves it where it was.
TEST_F(FrameTest, CameraTrailsTheToolAndKeepsItsPlaceAcrossAReset) {
    SDL_Event motion{};
    motion.type = motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 400;
    motion.motion.yrel = -200;
    SDL_PushEvent(&motion);
    sandbox->handleEvents();
    for (int i = 0; i < 40; ++i) drawFrame();
    for (Float3 p : kLandmarks) expectSameView(programProjects(p), camera.project(p));

    SDL_Event r{};
    r.type = r.key.type = SDL_KEYDOWN;
    r.key.state = SDL_PRESSED;
    r.key.keysym.sym = SDLK_r;
    SDL_PushEvent(&r);
    sandbox->handleEvents();
    drawFrame();
    for (Float3 p : kLandmarks) expectSameView(programProjects(p), camera.project(p));
}

// A box tilted towards the camera: its top face, lit from above, shows the
// light's colour and the material's highlight exactly; the same face of its
// mirror image, lit from below, only the ambient light.
TEST_F(FrameTest, LightShinesFromAboveOnTheSceneAndFromBelowOnItsImage) {
    sandbox->dropBoxBox();
    BodyList& pieces = sandbox->boxBoxes.structures.at(0);
    pieces.resize(1);
    const dBodyID box = pieces[0];
    dBodySetPosition(box, 10, 6, 4);
    dMatrix3 tilt;
    dRFromAxisAndAngle(tilt, 0, 1, 0, M_PI / 12);
    dBodySetRotation(box, tilt);
    drawFrame();

    const Float3 top = {float(tilt[2]), float(tilt[6]), float(tilt[10])};  // the face's normal
    const Float3 light = {0, 0, 1};
    const Float3 view = camera.backwards();
    Float3 half = {light.x + view.x, light.y + view.y, light.z + view.z};
    const float length = std::sqrt(dot(half, half));
    half = {half.x / length, half.y / length, half.z / length};
    const float diffuse = dot(top, light);
    const float highlight = 0.75f * std::pow(dot(top, half), 50.0f);
    const float ambient = 0.2f + 0.05f;  // the scene's and the light's
    auto lit = [&](float c) { return std::min(1.0f, c * (ambient + diffuse) + highlight); };
    EXPECT_TRUE(isColour(pixelAt({10 + top.x, 6 + top.y, 4 + top.z}),
                         {lit(0.5f), lit(0.5f), lit(1.0f)}));
    EXPECT_TRUE(isColour(pixelAt({10 + top.x, 6 + top.y, -4 + top.z}),
                         {0.5f * ambient, 0.5f * ambient, ambient}));
}
