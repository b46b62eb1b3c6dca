#include "measure.h"

#include "floor_loop.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace bench {
namespace {

constexpr double kStep = 1.0 / 60.0;  // the fixed pass length, in seconds
constexpr int kWarmUpPasses = 3;  // let the GL driver build its state before a profile

void resetScene(Sandbox& sandbox) {
    SDL_UserEvent reset{};
    reset.type = SDL_USEREVENT;
    reset.code = 0;
    sandbox.onUserEvent(reset);
}

// A second sandbox with a world of its own, drawing in the same window.
// Whichever of the two is being measured is the collision callback's.
std::unique_ptr<Sandbox> makeTwin(Sandbox& sandbox) {
    auto twin = std::make_unique<Sandbox>(sandbox.argc, sandbox.argv);
    theSandbox = &sandbox;
    twin->quadric = sandbox.quadric;
    twin->initPhysics();
    return twin;
}

void buildBoth(Sandbox& sandbox, Sandbox& twin, const Scene& scene, int times, Samples& spawn) {
    for (int i = 0; i < times; ++i) {
        resetScene(sandbox);
        const double start = now();
        scene.build(sandbox);
        spawn.add(now() - start);
        resetScene(twin);
        scene.build(twin);
    }
}

// The three calls of the sandbox's physics step, made here so that the
// collision and the solver can be timed apart.
void sandboxPass(Sandbox& sandbox, SceneResult& result) {
    const double start = now();
    sandbox.frameSeconds = kStep;
    dJointGroupEmpty(sandbox.contactGroup);
    dSpaceCollide(sandbox.space, nullptr, collideCallback);
    const double collided = now();
    dWorldQuickStep(sandbox.world, static_cast<float>(sandbox.frameSeconds));
    const double solved = now();
    sandbox.update();
    sandbox.render();
    const double drawn = now();
    result.collide.add(collided - start);
    result.solve.add(solved - collided);
    result.draw.add(drawn - solved);
    result.pass.add(drawn - start);
}

void floorPass(FloorLoop& floor, SceneResult& result) {
    const double start = now();
    floor.collide();
    const double collided = now();
    floor.solve();
    const double solved = now();
    floor.draw(true);
    const double drawn = now();
    result.floorCollide.add(collided - start);
    result.floorSolve.add(solved - collided);
    result.floorDraw.add(drawn - solved);
    result.floorPass.add(drawn - start);
}

void sandboxPlainDraw(Sandbox& sandbox, SceneResult& result) {
    sandbox.showReflections = false;
    const double start = now();
    sandbox.render();
    result.drawPlain.add(now() - start);
    sandbox.showReflections = true;
}

// After a frame every drawing operation has popped its matrix: what is left
// is the view.
void followCamera(FloorLoop& floor) {
    GLfloat view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    floor.lookLike(view);
}

void floorPlainDraw(FloorLoop& floor, SceneResult& result) {
    const double start = now();
    floor.draw(false);
    result.floorDrawPlain.add(now() - start);
}

// The solver shuffles its constraints with ODE's one global generator, so
// both worlds start each pass from the same seed and stay identical.
template <typename First, typename Second>
void inStep(First first, Second second) {
    const unsigned long seed = dRandGetSeed();
    first();
    dRandSetSeed(seed);
    second();
}

template <typename A, typename B>
void alternating(int pass, A a, B b) {
    if (pass % 2 == 0) {
        inStep(a, b);
    } else {
        inStep(b, a);
    }
}

// Physics only: nothing is drawn until the scene is where it should be.
void settleBoth(Sandbox& sandbox, FloorLoop& floor, int passes) {
    for (int i = 0; i < passes; ++i) {
        alternating(
            i,
            [&] {
                sandbox.frameSeconds = kStep;
                sandbox.stepPhysics();
            },
            [&] {
                floor.collide();
                floor.solve();
            });
    }
}

// The main loop's pass at a fixed step, without the event poll and the
// clock, which have nothing to do here.
void mainLoopPass(Sandbox& sandbox) {
    sandbox.frameSeconds = kStep;
    sandbox.stepPhysics();
    sandbox.update();
    sandbox.render();
}

void floorLoopPass(FloorLoop& floor) {
    floor.collide();
    floor.solve();
    floor.draw(true);
}

double largestDrift(const std::vector<dBodyID>& mine, const std::vector<dBodyID>& twins) {
    double drift = 0.0;
    for (std::size_t i = 0; i < mine.size() && i < twins.size(); ++i) {
        const dReal* a = dBodyGetPosition(mine[i]);
        const dReal* b = dBodyGetPosition(twins[i]);
        drift = std::max(drift, std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]));
    }
    return drift;
}

}  // namespace

// The two worlds hold the same scene in the same state pass after pass, but
// the one built first lies in memory that earlier worlds left fragmented,
// which slows its solver measurably. So the sandbox and the floor loop trade
// worlds every other pair of passes, and each runs half its passes on each.
SceneResult measureScene(Sandbox& sandbox, const Scene& scene, const RunSettings& settings) {
    SceneResult result;
    result.name = scene.name;
    const std::unique_ptr<Sandbox> twin = makeTwin(sandbox);
    buildBoth(sandbox, *twin, scene, settings.spawns, result.spawn);
    result.objects = drawnObjects(sandbox);
    FloorLoop onTwin(*twin, sandbox.toolPosition);
    FloorLoop onMine(sandbox, sandbox.toolPosition);
    settleBoth(sandbox, onTwin, settings.settle);

    for (int i = 0; i < settings.passes; ++i) {
        const bool traded = (i / 2) % 2 == 1;
        Sandbox& measured = traded ? *twin : sandbox;
        FloorLoop& floor = traded ? onMine : onTwin;
        theSandbox = &measured;
        auto sandboxFirst = [&](auto sandboxPart) {
            sandboxPart();
            followCamera(onTwin);
            followCamera(onMine);
        };
        alternating(
            i, [&] { sandboxFirst([&] { sandboxPass(measured, result); }); },
            [&] { floorPass(floor, result); });
        result.passRatio.add(result.pass.last() / result.floorPass.last());
        alternating(
            i, [&] { sandboxFirst([&] { sandboxPlainDraw(measured, result); }); },
            [&] { floorPlainDraw(floor, result); });
    }
    theSandbox = &sandbox;
    result.drift = largestDrift(bodiesOf(sandbox), bodiesOf(*twin));

    // Both worlds go now, so that the next scene finds the memory of both
    // free and neither starts from a heap its own old world fragmented.
    resetScene(sandbox);
    twin->destroyPhysics();
    return result;
}

double profileScene(Sandbox& sandbox, const Scene& scene, const RunSettings& settings) {
    const std::unique_ptr<Sandbox> twin = makeTwin(sandbox);
    Samples spawn;
    buildBoth(sandbox, *twin, scene, 1, spawn);
    FloorLoop floor(*twin, sandbox.toolPosition);
    settleBoth(sandbox, floor, settings.settle);
    for (int i = 0; i < kWarmUpPasses; ++i) {
        inStep([&] { mainLoopPass(sandbox); },
               [&] {
                   followCamera(floor);
                   floorLoopPass(floor);
               });
    }

    std::vector<PassStart> starts(settings.passes);
    profiledPasses(sandbox, starts);
    profiledFloorPasses(floor, starts);
    const double drift = largestDrift(bodiesOf(sandbox), bodiesOf(*twin));
    twin->destroyPhysics();
    return drift;
}

__attribute__((noinline)) void profiledPasses(Sandbox& sandbox, std::vector<PassStart>& starts) {
    for (PassStart& start : starts) {
        start.seed = dRandGetSeed();
        mainLoopPass(sandbox);
        glGetFloatv(GL_MODELVIEW_MATRIX, start.view);
    }
}

__attribute__((noinline)) void profiledFloorPasses(FloorLoop& floor,
                                                   const std::vector<PassStart>& starts) {
    for (const PassStart& start : starts) {
        dRandSetSeed(start.seed);
        floor.lookLike(start.view);
        floorLoopPass(floor);
    }
}

}  // namespace bench
