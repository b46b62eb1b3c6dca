// A Sandbox with its real full-screen window on a private X server, for
// tests that draw frames and read the pixels back.
#pragma once

#include "sandbox.h"
#include "support/colour.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The frame that render() just drew.
    void grabFrame();
    // Where a world point lands in the window under the current view.
    bool project(float x, float y, float z, int& px, int& py) const;
    Pixel pixelAt(float x, float y, float z) const;
    Pixel pixelAtWindow(int px, int py) const;
    // Whether the neighbourhood of a world point holds a pixel that passes.
    template <typename Check>
    bool anyNear(float x, float y, float z, int reach, Check check) const;

    dBodyID addBody(float x, float y, float z);

    std::unique_ptr<Sandbox> sandbox;
    std::vector<unsigned char> frame;
};

template <typename Check>
bool RenderTest::anyNear(float x, float y, float z, int reach, Check check) const {
    int cx, cy;
    if (!project(x, y, z, cx, cy)) return false;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (check(pixelAtWindow(cx + dx, cy + dy))) return true;
        }
    }
    return false;
}
