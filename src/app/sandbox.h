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

// Where the tool stands at start-up and after every reset.
constexpr Float3 kToolStart = {0.0f, 0.0f, 5.0f};

// The code of the user event that asks for a reset: the r key posts it, the
// event pass hands it to onUserEvent.
constexpr int kResetCode = 0;

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

    // command line and frame clock: src/app (initPhysics restarts the clock)
    int argc;
    char** argv;
    Uint32 lastTicks;
    double frameSeconds;
    bool running;

    // display switches: src/interaction (the s and j keys)
    bool showReflections;
    bool showJoints;

    // exit code: src/app
    int exitCode;

    // the tool's reference point: src/interaction (reset puts it back)
    Float3 toolPosition;

    // window: src/app
    int screenWidth;
    int screenHeight;
    bool fullscreen;

    // the quadric that draws fired cylinders: src/render
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

    // beans: src/spawn
    BodyGroup beans;

    // projectiles: src/interaction
    BodyGroup balls;
    CylinderGroup shotCylinders;

    // static spheres and the soft structures' springs: src/spawn
    GeomList staticSpheres;
    JointList springs;

    // contact joints of one step: src/physics
    dJointGroupID contactGroup;

    // start-up and main loop: src/app
    void init();
    void printControls();
    void initVideo();
    void initAudio();
    void run();
    void runPass();
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
    void squeezeJaws();
    void pullJawsApart();
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
