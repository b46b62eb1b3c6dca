#include "sandbox.h"

Sandbox* theSandbox = nullptr;

// Calls no library: SDL, OpenGL and ODE are all started by init().
Sandbox::Sandbox(int argc, char** argv)
    : argc(argc),
      argv(argv),
      lastTicks(0),
      frameSeconds(0.0),
      running(true),
      showReflections(true),
      showJoints(false),
      exitCode(0),
      toolPosition(kToolStart),
      screenWidth(1024),
      screenHeight(768),
      fullscreen(true),
      quadric(nullptr),
      world(nullptr),
      space(nullptr),
      sphereBoxes{},
      boxBoxes{},
      emptyBoxes{},
      softCylinders{},
      cloths{},
      jawA(nullptr),
      jawB(nullptr),
      launchOffset{},
      jawRadius(0.0f),
      jawSlices(0),
      jawStacks(0),
      beans{},
      balls{},
      shotCylinders{},
      staticSpheres{},
      springs{},
      contactGroup(nullptr) {
    theSandbox = this;
}
