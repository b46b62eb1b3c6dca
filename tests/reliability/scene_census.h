// What a test expects the world to hold, kind by kind, and a comparison of
// that expectation with what the lists and the collision space really hold.
#pragma once

#include "sandbox.h"

#include <string>
#include <vector>

// Nodes and springs of one soft structure of each kind.
constexpr int kEmptyBoxNodes = 602;
constexpr int kEmptyBoxSprings = 1200;
constexpr int kCylinderNodes = 400;
constexpr int kCylinderSprings = 780;
constexpr int kClothNodes = 841;
constexpr int kClothSprings = 1624;
constexpr int kBlockPieces = 729;  // both rigid blocks: 9 × 9 × 9

struct Census {
    int sphereBoxes = 0;
    int boxBoxes = 0;
    int emptyBoxes = 0;
    int softCylinders = 0;
    int cloths = 0;
    int beans = 0;
    int balls = 0;
    int shotCylinders = 0;
    int staticSpheres = 0;

    int bodies() const;
    int springs() const;
};

// Every way in which the sandbox differs from the census, one line each;
// empty when they agree. The space must hold the two jaws, the ground, the
// static spheres and one geom per body, nothing else.
std::vector<std::string> compare(const Sandbox& sandbox, const Census& expected);

// Queues a press of every key that drops something and `shots` presses of
// each firing button; returns what the world holds once they are handled.
Census queueEveryKind(int shots);

// Resident memory of this process in bytes.
long residentBytes();
