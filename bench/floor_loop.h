// The floor that the sandbox's pass is measured against: the library calls
// of one pass (the contact group emptied, the space collided, the world
// quick-stepped, every body drawn with its mirror image, the buffers
// swapped) made by a bare loop over a flat copy of the scene, with nothing
// of the sandbox around them.
#pragma once

#include "sandbox.h"

#include <vector>

namespace bench {

class FloorLoop {
public:
    // Drives the world of `source`, a sandbox that holds the scene, and copies
    // the handles and drawing parameters of what it draws. `tool` is where
    // the sandbox's camera trails to.
    FloorLoop(const Sandbox& source, Float3 tool);
    ~FloorLoop();
    FloorLoop(const FloorLoop&) = delete;
    FloorLoop& operator=(const FloorLoop&) = delete;

    void collide();
    void solve();
    void draw(bool reflect);

    // Takes the camera from a view matrix that the sandbox drew with, so
    // that both draw the same picture while its camera still trails.
    void lookLike(const GLfloat* view);

    struct ContactTarget {
        dWorldID world;
        dJointGroupID group;
    };

    enum class Shape { kSphere, kCube, kTube };

    // One drawing operation: its colour, its shape and what it draws.
    struct Run {
        float colour[3];
        Shape shape;
        float size;    // sphere radius, cube edge or tube radius
        float length;  // tubes only
        int slices;
        int stacks;
        std::vector<dBodyID> bodies;
        std::vector<dGeomID> geoms;  // static spheres: no body
    };

private:
    void drawRun(const Run& run, bool reflect) const;
    void drawImages(const Run& run, float* m, bool reflect) const;
    void drawShape(const Run& run) const;
    void drawTool(bool reflect) const;

    ContactTarget target_;
    dSpaceID space_;
    dReal step_;
    double eye_[3];
    double centre_[3];
    GLUquadric* quadric_;
    std::vector<Run> beforeTool_;
    std::vector<Run> afterTool_;
    dGeomID jaws_[2];
    float jawRadius_;
    int jawSlices_;
    int jawStacks_;
};

}  // namespace bench
