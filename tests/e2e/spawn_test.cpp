// What the spawn keys and the mouse buttons put into the real window, and
// the reset that clears it again. Objects are told by their hue.
#include "running_program.h"

#include <gtest/gtest.h>

namespace {

constexpr Colour kBlockBlue = {0.5f, 0.5f, 1.0f};
constexpr Colour kStaticBlue = {0.0f, 0.0f, 0.8f};
constexpr Colour kProjectileOrange = {1.0f, 0.75f, 0.25f};
constexpr Colour kEmptyBoxGreen = {0.5f, 1.0f, 0.75f};
constexpr Colour kCylinderYellow = {1.0f, 1.0f, 0.5f};
constexpr Colour kClothPink = {1.0f, 0.5f, 1.0f};

constexpr int kSeen = 300;  // pixels of a dropped structure
constexpr int kSmall = 30;  // pixels of a single object

// The shading of the jaws touches some of these hues too, and the camera is
// still closing in on them, so a cleared scene is judged against the empty
// scene's own count with some room.
bool cleared(int count, int empty) {
    return count <= empty * 5 / 4 + 10;
}

// A bean's green changes every frame, between a third and two thirds of
// its red; its blue stays a third of its red.
int countBeans(const Screenshot& shot) {
    int n = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const Pixel p = shot.at(x, y);
            if (p.r < 40) continue;
            const double green = double(p.g) / p.r, blue = double(p.b) / p.r;
            n += green > 0.3 && green < 0.7 && blue > 0.26 && blue < 0.42;
        }
    }
    return n;
}

class SpawnInWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(program.waitForWindow()); }

    int after(const char* key, double seconds, const Colour& colour) {
        program.keys(key);
        pause(seconds);
        return program.screenshot().count(colour);
    }

    int afterReset(const Colour& colour) { return after("r", 0.5, colour); }

    RunningProgram program{true, {"SDL_AUDIODRIVER=dummy"}};
};

}  // namespace

TEST_F(SpawnInWindow, RigidObjectsAppearAndResetClearsThem) {
    const Screenshot empty = program.screenshot();
    const int blue = empty.count(kBlockBlue);
    const int staticBlue = empty.count(kStaticBlue);
    const int orange = empty.count(kProjectileOrange);
    const int beans = countBeans(empty);

    EXPECT_GT(after("1", 4.0, kBlockBlue), blue + kSeen) << "block of spheres";
    EXPECT_TRUE(cleared(afterReset(kBlockBlue), blue));

    EXPECT_GT(after("6", 5.0, kBlockBlue), blue + kSeen) << "block of boxes";
    EXPECT_TRUE(cleared(afterReset(kBlockBlue), blue));

    EXPECT_GT(after("5", 0.5, kStaticBlue), staticBlue + kSeen) << "static sphere";
    EXPECT_TRUE(cleared(afterReset(kStaticBlue), staticBlue));

    program.keys("0");
    pause(0.4);
    EXPECT_GT(countBeans(program.screenshot()), beans + kSmall) << "bean";
    program.keys("r");
    pause(0.5);
    EXPECT_TRUE(cleared(countBeans(program.screenshot()), beans));

    program.click(1);
    pause(0.2);
    EXPECT_GT(program.screenshot().count(kProjectileOrange), orange + kSmall) << "ball";
    EXPECT_TRUE(cleared(afterReset(kProjectileOrange), orange));

    program.click(3);
    pause(0.1);
    EXPECT_GT(program.screenshot().count(kProjectileOrange), orange + kSmall) << "sweeper";
    EXPECT_TRUE(cleared(afterReset(kProjectileOrange), orange));

    program.keys("Escape");
    EXPECT_EQ(program.wait(10).status, 0);
}

TEST_F(SpawnInWindow, SoftStructuresAppearTheirSpringsShowOnRequestAndResetClearsThem) {
    const Screenshot empty = program.screenshot();
    const int green = empty.count(kEmptyBoxGreen);
    const int yellow = empty.count(kCylinderYellow);
    const int pink = empty.count(kClothPink);

    EXPECT_GT(after("2", 4.0, kEmptyBoxGreen), green + kSeen) << "empty box";
    EXPECT_LT(program.screenshot().countWhite(), 5);
    program.keys("j");
    pause(0.3);
    EXPECT_GT(program.screenshot().countWhite(), 40) << "springs as lines";
    program.keys("j");
    pause(0.3);
    EXPECT_LT(program.screenshot().countWhite(), 5);
    EXPECT_TRUE(cleared(afterReset(kEmptyBoxGreen), green));

    EXPECT_GT(after("3", 4.0, kCylinderYellow), yellow + kSeen) << "cylinder";
    EXPECT_TRUE(cleared(afterReset(kCylinderYellow), yellow));

    EXPECT_GT(after("4", 4.0, kClothPink), pink + kSeen) << "cloth";
    EXPECT_TRUE(cleared(afterReset(kClothPink), pink));

    program.keys("Escape");
    EXPECT_EQ(program.wait(10).status, 0);
}
