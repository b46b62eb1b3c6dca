// A Sandbox in its real full-screen window on a private X server, for tests
// that draw frames and read back the picture a user would see. Every test
// starts with the camera where the program starts it.
#pragma once

#include "sandbox.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

struct Pixel {
    int r, g, b;
};

// The camera as the sandbox promises it, kept by the test beside the
// program's own: its anchors trail the tool frame by frame, the eye 40 back
// along +x and 40 up, the view towards a point 15 along -x, through a 45°
// lens with near and far planes at 10 and 1000.
struct TrailingCamera {
    double eye[3] = {0, 0, 0};
    double look[3] = {0, 0, 0};

    void follow(Float3 tool);
    // Window coordinates of a world point, depth last, in this camera.
    std::vector<double> project(Float3 point) const;
    // Unit vector from what the camera looks at towards the eye.
    Float3 backwards() const;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One frame drawn by the program and read back from the window.
    void drawFrame();
    // The pixel where the camera puts a world point.
    Pixel pixelAt(Float3 point) const;
    // Window coordinates of a world point, depth last, through the
    // projection and view that the program's last frame drew with.
    std::vector<double> programProjects(Float3 point) const;

    std::unique_ptr<Sandbox> sandbox;
    TrailingCamera camera;
    std::vector<unsigned char> frame;
};

// Whether the pixel is the colour, each channel within the tolerance, out of 255.
::testing::AssertionResult isColour(Pixel pixel, Float3 colour, int tolerance = 2);
