#include "longest_step.h"

#include "measure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace bench {
namespace {

struct SoftKind {
    const char* name;
    Spawner drop;
    StructureGroup Sandbox::*group;
};

constexpr SoftKind kSoftKinds[] = {
    {"empty-box", &Sandbox::dropEmptyBox, &Sandbox::emptyBoxes},
    {"cylinder", &Sandbox::dropCylinder, &Sandbox::softCylinders},
    {"cloth", &Sandbox::dropCloth, &Sandbox::cloths},
};

constexpr double kFrame = 1.0 / 60.0;

// The step lengths tried, in seconds: a fast frame, whose outcome the others
// are compared with, up to a long pause.
constexpr double kSteps[] = {kFrame, 0.025, 0.033, 0.05, 0.067, 0.083, 0.1, 0.125,
                             0.15,   0.175, 0.2,   0.3,  0.5,   1,     2};

constexpr int kRestingFrames = 360;     // dropped from 40 high, a structure lands in 3 s
constexpr int kAfterFrames = 60;        // what a long step stored comes out within a second
constexpr float kAwayFromTool = 40.0f;  // along y: clear of the widest structure, the cloth
constexpr double kIntactShare = 0.1;    // of the structure's size: the most a node may move

// One step of the solver by `seconds`, as the world is stepped, but unbounded.
void stepBy(Sandbox& sandbox, double seconds) {
    dJointGroupEmpty(sandbox.contactGroup);
    dSpaceCollide(sandbox.space, nullptr, collideCallback);
    dWorldQuickStep(sandbox.world, static_cast<float>(seconds));
}

// The diagonal of the box around the structure's nodes.
double sizeOf(const std::vector<Float3>& nodes) {
    Float3 low = nodes.front(), high = nodes.front();
    for (const Float3& p : nodes) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return std::hypot(high.x - low.x, high.y - low.y, high.z - low.z);
}

std::vector<Float3> nodesOf(const BodyList& bodies) {
    std::vector<Float3> nodes;
    for (dBodyID body : bodies) {
        const dReal* p = dBodyGetPosition(body);
        nodes.push_back({float(p[0]), float(p[1]), float(p[2])});
    }
    return nodes;
}

// How far the structure is from a shape it should have: the farthest a node
// is from its place there and the change of its size, both as shares of that
// shape's size; the lowest node's height. A NaN anywhere shows in all three.
struct Damage {
    double moved, resized, lowest;
    bool intact() const {
        return moved < kIntactShare && std::fabs(resized) < kIntactShare && lowest >= 0;
    }
};

Damage damage(const std::vector<Float3>& shape, const std::vector<Float3>& now) {
    const double size = sizeOf(shape);
    Damage d{0, sizeOf(now) / size - 1, now.front().z};
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const Float3 a = shape[i];
        const double moved = std::hypot(now[i].x - a.x, now[i].y - a.y, now[i].z - a.z) / size;
        d.moved = std::isnan(moved) ? moved : std::max(d.moved, moved);
        d.lowest = std::isnan(now[i].z) ? now[i].z : std::min(d.lowest, double(now[i].z));
    }
    return d;
}

}  // namespace

// A structure lies still on the ground, but one over the tool may still be
// sliding off it: so the step's outcome is judged against the resting shape,
// and the second after it against the second after an ordinary frame.
void measureLongestStep(Sandbox& sandbox, std::FILE* csv) {
    std::printf("%-10s %-7s %8s %9s %9s %9s %9s  %s\n", "structure", "rests", "step ms", "moved",
                "resized", "lowest", "1 s later", "verdict");
    std::fprintf(csv, "structure,rests,step_ms,moved,resized,lowest,moved_1s_later,intact\n");
    for (const SoftKind& kind : kSoftKinds) {
        for (const bool onTool : {false, true}) {
            std::vector<Float3> ordinary;  // a second after a frame's step
            for (const double seconds : kSteps) {
                resetWorld(sandbox);
                dRandSetSeed(0);  // the solver shuffles its rows with it: every trial alike
                SceneBuilder builder{sandbox};
                builder.spawnAt(0, 0, kind.drop);
                if (!onTool) builder.moveTool(0, kAwayFromTool);
                for (int i = 0; i < kRestingFrames; ++i) stepBy(sandbox, kFrame);
                const BodyList& bodies = (sandbox.*kind.group).structures.back();
                const std::vector<Float3> rest = nodesOf(bodies);
                stepBy(sandbox, seconds);
                const Damage once = damage(rest, nodesOf(bodies));
                for (int i = 0; i < kAfterFrames; ++i) stepBy(sandbox, kFrame);
                if (ordinary.empty()) ordinary = nodesOf(bodies);
                const Damage later = damage(ordinary, nodesOf(bodies));
                const bool intact = once.intact() && later.intact();
                const char* rests = onTool ? "on-tool" : "ground";
                const double ms = seconds * 1000;
                std::printf("%-10s %-7s %8.0f %9.3f %9.3f %9.2f %9.3f  %s\n", kind.name, rests, ms,
                            once.moved, once.resized, once.lowest, later.moved,
                            intact ? "intact" : "WRECKED");
                std::fprintf(csv, "%s,%s,%.0f,%.4f,%.4f,%.3f,%.4f,%d\n", kind.name, rests, ms,
                             once.moved, once.resized, once.lowest, later.moved, intact);
                std::fflush(stdout);
            }
        }
    }
}

}  // namespace bench
