// The tool's and the static spheres' colours, read where only the ambient light falls (a quarter of the colour), and
// the spring lines.
#include "support/fixtures.h"

#include <cmath>

namespace {

Float3 quarter(Float3 c) { return {c.x / 4, c.y / 4, c.z / 4}; }
Float3 plus(Float3 a, Float3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// On a sphere, the band of faces just below its equator, towards the camera.
Float3 belowEquator(Float3 centre, float radius, int stacks) {
    const double latitude = -M_PI / (stacks % 2 == 0 ? 2 * stacks : stacks);
    return plus(centre, {float(radius * std::cos(latitude)), 0, float(radius * std::sin(latitude))});
}

}  // namespace

using DrawTest = WindowTest;

// The jaws and their images each have a colour of their own; a static sphere is deep blue where its geom stands; all
// beans share one green per frame.
TEST_F(DrawTest, JawsStaticSpheresAndBeansShowTheirOwnColours) {
    sandbox->toolPosition = {10, 6, 6.5f};
    sandbox->addStaticSphere();
    for (float y : {-6.0f, -9.0f}) {
        sandbox->dropBean();
        dBodySetPosition(sandbox->beans.bodies.back(), 12, y, 1.5f);
    }
    drawFrame();
    EXPECT_EQ(pixelAt({12, -6, -0.5f}).g, pixelAt({12, -9, -0.5f}).g);
    EXPECT_TRUE(isColour(pixelAt({10, 6, -2.5f}), quarter({0, 0, 0.8f})));
    EXPECT_TRUE(isColour(pixelAt(belowEquator({10, 6, 6.5f}, 4, 20)), quarter({0, 0, 0.8f})));
    EXPECT_TRUE(isColour(pixelAt(belowEquator({0, -1, 5}, 2, 20)), quarter({1, 1, 0})));
    EXPECT_TRUE(isColour(pixelAt({0, -1, -3}), quarter({0.75f, 0.75f, 0})));
    EXPECT_TRUE(isColour(pixelAt(belowEquator({0, 1, 5}, 2, 20)), quarter({0.75f, 0.5f, 0})));
    EXPECT_TRUE(isColour(pixelAt({0, 1, -3}), quarter({0.5f, 0.25f, 0})));
}

// Springs show as white lines between the centres of their nodes, only on request and never below the ground.
TEST_F(DrawTest, SpringsShowAsWhiteLinesOnlyWhenAskedFor) {
    sandbox->dropCloth();
    for (dBodyID node : sandbox->cloths.structures.at(0)) dBodySetPosition(node, 100, 0, 300);
    const dJointID spring = sandbox->springs.joints.at(0);
    dBodySetPosition(dJointGetBody(spring, 0), 10, 3, 3);
    dBodySetPosition(dJointGetBody(spring, 1), 10, 9, 3);
    auto whiteAcross = [this](float z) {  // a line is a pixel thin: look a little above and below
        int white = 0;
        for (float dz : {-0.1f, -0.05f, 0.0f, 0.05f, 0.1f}) white += isColour(pixelAt({10, 6, z + dz}), {1, 1, 1}, 0);
        return white;
    };
    drawFrame();
    EXPECT_EQ(whiteAcross(3), 0);
    sandbox->showJoints = true;
    drawFrame();
    EXPECT_GT(whiteAcross(3), 0);
    EXPECT_EQ(whiteAcross(-3), 0);
}
