// The one object that holds all of Bramblewick's state, and the lists that
// record what the user has dropped into the world.
#pragma once

#include <GL/glu.h>
#include <SDL.h>
#include <ode/ode.h>

#include <vector>

struct Float3 {
    float x, y, z;
};

// The lists hold ODE handles only: bodies and joints belong to the world,
// geoms to the space. Each list keeps the order in which things were made.
using BodyList = std::vector<dBodyID>;

// Structures of one kind, all made of spheres of one size.
struct StructureGroup {
    std::vector<BodyList> structures;
    float radius;
    int slices;
    int stacks;
};

// Structures of one kind, all made of boxes of one size.
struct BoxStructureGroup {
    std::vector<BodyList> structures;
    Float3 sides;
};

// Single sphere bodies of one kind.
struct BodyGroup {
    BodyList bodies;
    float radius;
    int slices;
    int stacks;
};

// Single capped-cylinder bodies.
struct CylinderGroup {
    BodyList bodies;
    float radius;
    float length;
    int slices;
    int stacks;
};

// Spheres with no body: they never move.
struct GeomList {
    std::vector<dGeomID> geoms;
    float radius;
    int slices;
    int stacks;
    Float3 position;  // where the most recent one was placed
};

struct JointList {
    std::vector<dJointID> joints;
};

// The drawing parameters after each list are written by the operation that
// appends to it, every time, before it creates anything; they are read only
// while the list is not empty, so the constructor leaves them unset.
class Sandbox {
public:
    Sandbox(int argc, char** argv);

    // application shell: src/app
    int argc;
    char** argv;
    Uint32 lastTicks;
    double frameSeconds;
    bool running;
    bool showReflections;
    bool showJoints;
    int exitCode;
    Float3 toolPosition;
    int screenWidth;
    int screenHeight;
    bool fullscreen;
    GLUquadric* quadric;

    // physics world: src/physics
    dWorldID world;
    dSpaceID space;

    // dropped structures: src/spawn
    StructureGroup sphereBoxes;
    BoxStructureGroup boxBoxes;
    StructureGroup emptyBoxes;
    StructureGroup softCylinders;
    StructureGroup cloths;

    // the tool: src/interaction
    dGeomID jawA;
    dGeomID jawB;
    Float3 launchOffset;
    float jawRadius;
    int jawSlices;
    int jawStacks;

    // single objects: src/spawn and src/interaction
    BodyGroup beans;
    BodyGroup balls;
    CylinderGroup shotCylinders;
    GeomList staticSpheres;
    JointList springs;

    // physics world: src/physics
    dJointGroupID contactGroup;

    // start-up and main loop: src/app
    void init();
    void printControls();
    void initVideo();
    void initAudio();
    void run();
    void handleEvents();
    void dispatchEvent(const SDL_Event& event);
    void quit(int code);
    void updateClock();
    void update();

    // physics world and reset: src/physics
    void initPhysics();
    void stepPhysics();
    void onUserEvent(SDL_UserEvent event);
    void destroyPhysics();

    // keyboard, tool and projectiles: src/interaction
    void onKey(SDL_KeyboardEvent event);
    void createTool();
    void onMouseMotion(SDL_MouseMotionEvent event);
    void onMouseButton(SDL_MouseButtonEvent event);
    void fireBall();
    void fireCylinder();

    // spawners: src/spawn
    void dropSphereBox();
    void dropBoxBox();
    void dropBean();
    void addStaticSphere();
    void dropEmptyBox();
    void dropCylinder();
    void dropCloth();

    // drawing: src/render
    void initGraphics();
    double aspectRatio();
    void render();
    void drawSphereBoxes();
    void drawBoxBoxes();
    void drawEmptyBoxes();
    void drawSoftCylinders();
    void drawCloths();
    void drawTool();
    void drawBeans();
    void drawBalls();
    void drawShotCylinders();
    void drawStaticSpheres();
    void drawJoints();
};

// The collision callback's only way to the world and the contact group.
extern Sandbox* theSandbox;

// ODE's near callback: turns a touching pair of geoms into contact joints.
void collideCallback(void* data, dGeomID o1, dGeomID o2);

// Poses as OpenGL column-major matrices. Each function owns one static
// matrix and overwrites it on its next call.
float* bodyMatrix(dBodyID body);
float* geomMatrix(dGeomID geom);

// A uniform random number between low and high.
double randomBetween(double high, double low);
