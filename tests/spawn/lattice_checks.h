// Checks shared by the tests of the three soft structures. They look at a
// structure the way ODE sees it: where its bodies stand, which bodies each
// slider joint holds and what the joints read back, not how they were made.
#pragma once

#include "support/sandbox_fixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <utility>
#include <vector>

struct Point {
    double x, y, z;
};

// A spring by the places of its first and second node in the structure's
// list; -1 for a body that is not one of the structure's nodes.
struct SpringEnds {
    int first;
    int second;
};

struct SliderSettings {
    double loStop, hiStop, bounce, cfm, stopErp, stopCfm;
};

inline Point at(dBodyID body) {
    const dReal* p = dBodyGetPosition(body);
    return {p[0], p[1], p[2]};
}

inline double distance(Point a, Point b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

inline ::testing::AssertionResult isNear(Point actual, Point expected, double tolerance) {
    if (distance(actual, expected) <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "at (" << actual.x << ", " << actual.y << ", " << actual.z << "), expected ("
           << expected.x << ", " << expected.y << ", " << expected.z << ") within " << tolerance;
}

// Springs joints[begin, begin + count) of a list, by node index in nodes.
inline std::vector<SpringEnds> springEnds(const std::vector<dJointID>& joints, size_t begin,
                                          size_t count, const BodyList& nodes) {
    auto indexOf = [&](dBodyID body) {
        const auto found = std::find(nodes.begin(), nodes.end(), body);
        return found == nodes.end() ? -1 : static_cast<int>(found - nodes.begin());
    };
    std::vector<SpringEnds> ends;
    for (size_t i = begin; i < begin + count && i < joints.size(); ++i) {
        ends.push_back(
            {indexOf(dJointGetBody(joints[i], 0)), indexOf(dJointGetBody(joints[i], 1))});
    }
    return ends;
}

inline std::vector<SpringEnds> springEnds(const std::vector<dJointID>& joints,
                                          const BodyList& nodes) {
    return springEnds(joints, 0, joints.size(), nodes);
}

inline ::testing::AssertionResult allJoinNodesOfTheStructure(const std::vector<SpringEnds>& ends) {
    for (size_t i = 0; i < ends.size(); ++i) {
        if (ends[i].first < 0 || ends[i].second < 0) {
            return ::testing::AssertionFailure() << "spring " << i << " holds a foreign body";
        }
    }
    return ::testing::AssertionSuccess();
}

// The springs join exactly the pairs of nodes that areNeighbours accepts in
// the rest shape, each pair once. Call before the world steps.
inline ::testing::AssertionResult joinEachNeighbourPairOnce(
    const std::vector<SpringEnds>& ends, const BodyList& nodes,
    const std::function<bool(Point, Point)>& areNeighbours) {
    const auto own = allJoinNodesOfTheStructure(ends);
    if (!own) return own;
    std::set<std::pair<int, int>> joined;
    for (size_t i = 0; i < ends.size(); ++i) {
        const auto pair = std::minmax(ends[i].first, ends[i].second);
        if (!areNeighbours(at(nodes[pair.first]), at(nodes[pair.second]))) {
            return ::testing::AssertionFailure()
                   << "spring " << i << " joins nodes " << pair.first << " and " << pair.second
                   << ", which are not neighbours";
        }
        if (!joined.insert(pair).second) {
            return ::testing::AssertionFailure() << "spring " << i << " joins nodes " << pair.first
                                                 << " and " << pair.second << " a second time";
        }
    }
    size_t neighbourPairs = 0;
    for (size_t a = 0; a < nodes.size(); ++a) {
        for (size_t b = a + 1; b < nodes.size(); ++b) {
            if (areNeighbours(at(nodes[a]), at(nodes[b]))) ++neighbourPairs;
        }
    }
    if (joined.size() != neighbourPairs) {
        return ::testing::AssertionFailure()
               << joined.size() << " pairs joined out of " << neighbourPairs << " neighbour pairs";
    }
    return ::testing::AssertionSuccess();
}

inline std::vector<int> springsPerNode(const std::vector<SpringEnds>& ends, size_t nodeCount) {
    std::vector<int> count(nodeCount, 0);
    for (const SpringEnds& spring : ends) {
        if (spring.first >= 0) ++count[spring.first];
        if (spring.second >= 0) ++count[spring.second];
    }
    return count;
}

// Springs are made as their second node is made: each runs from an earlier
// node to the newest one, so second nodes never go back in the list.
inline ::testing::AssertionResult followNodeCreation(const std::vector<SpringEnds>& ends) {
    for (size_t i = 0; i < ends.size(); ++i) {
        if (ends[i].first >= ends[i].second) {
            return ::testing::AssertionFailure() << "spring " << i << " runs from node "
                                                 << ends[i].first << " back to " << ends[i].second;
        }
        if (i > 0 && ends[i].second < ends[i - 1].second) {
            return ::testing::AssertionFailure()
                   << "spring " << i << " ends at node " << ends[i].second
                   << " after a spring to node " << ends[i - 1].second;
        }
    }
    return ::testing::AssertionSuccess();
}

inline Point axisOf(dJointID spring) {
    dVector3 axis;
    dJointGetSliderAxis(spring, axis);
    return {axis[0], axis[1], axis[2]};
}

// Every spring's axis is the unit vector from its first node to its second.
// Call before the world steps.
inline ::testing::AssertionResult pointFromFirstToSecond(const std::vector<dJointID>& springs) {
    for (size_t i = 0; i < springs.size(); ++i) {
        const Point a = at(dJointGetBody(springs[i], 0));
        const Point b = at(dJointGetBody(springs[i], 1));
        const double length = distance(a, b);
        const Point along{(b.x - a.x) / length, (b.y - a.y) / length, (b.z - a.z) / length};
        auto near = isNear(axisOf(springs[i]), along, 1e-5);
        if (!near) return near << " for the axis of spring " << i;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult allHaveSettings(const std::vector<dJointID>& springs,
                                                  const SliderSettings& expected) {
    const std::pair<int, double> wanted[] = {
        {dParamLoStop, expected.loStop},   {dParamHiStop, expected.hiStop},
        {dParamBounce, expected.bounce},   {dParamCFM, expected.cfm},
        {dParamStopERP, expected.stopErp}, {dParamStopCFM, expected.stopCfm},
    };
    for (size_t i = 0; i < springs.size(); ++i) {
        for (const auto& [parameter, value] : wanted) {
            const double actual = dJointGetSliderParam(springs[i], parameter);
            if (actual != value) {
                return ::testing::AssertionFailure()
                       << "spring " << i << " has parameter " << parameter << " = " << actual
                       << " instead of " << value;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Every node is a body with one sphere geom of the group's radius, the given
// mass, no user data, and never falls asleep.
inline ::testing::AssertionResult allNodesAre(const BodyList& nodes, double radius, double mass) {
    for (size_t i = 0; i < nodes.size(); ++i) {
        const dGeomID geom = dBodyGetFirstGeom(nodes[i]);
        dMass actualMass;
        dBodyGetMass(nodes[i], &actualMass);
        const bool isSphere = geom != nullptr && dGeomGetClass(geom) == dSphereClass &&
                              dBodyGetNextGeom(geom) == nullptr;
        if (!isSphere || dGeomSphereGetRadius(geom) != radius) {
            return ::testing::AssertionFailure()
                   << "node " << i << " is not one sphere of radius " << radius;
        }
        if (std::fabs(actualMass.mass - mass) > mass * 1e-6) {
            return ::testing::AssertionFailure()
                   << "node " << i << " weighs " << actualMass.mass << " instead of " << mass;
        }
        if (dBodyGetData(nodes[i]) != nullptr || dBodyGetAutoDisableFlag(nodes[i]) != 0) {
            return ::testing::AssertionFailure()
                   << "node " << i << " has user data or may fall asleep";
        }
    }
    return ::testing::AssertionSuccess();
}

// No spring has let its two nodes drift more than reach apart, and no node
// has sunk into the ground.
inline ::testing::AssertionResult holdsTogetherAboveGround(const std::vector<dJointID>& springs,
                                                           const BodyList& nodes, double radius,
                                                           double reach) {
    for (size_t i = 0; i < nodes.size(); ++i) {
        const double z = at(nodes[i]).z;
        if (!(z > -radius)) {
            return ::testing::AssertionFailure() << "node " << i << " sank to z = " << z;
        }
    }
    for (size_t i = 0; i < springs.size(); ++i) {
        const double apart =
            distance(at(dJointGetBody(springs[i], 0)), at(dJointGetBody(springs[i], 1)));
        if (!(apart < reach)) {
            return ::testing::AssertionFailure()
                   << "spring " << i << " tore: its nodes are " << apart << " apart";
        }
    }
    return ::testing::AssertionSuccess();
}

// The structure lies on the ground, its lowest node touching it, and has
// stopped bouncing: no node moves faster than 1 unit per second.
inline ::testing::AssertionResult restsOnTheGround(const BodyList& nodes, double radius) {
    double lowest = 1e9;
    double fastest = 0.0;
    for (dBodyID node : nodes) {
        const dReal* v = dBodyGetLinearVel(node);
        lowest = std::min(lowest, at(node).z);
        fastest = std::max(fastest, std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    }
    if (!(std::fabs(lowest - radius) < 0.25 * radius)) {
        return ::testing::AssertionFailure() << "lowest node at z = " << lowest;
    }
    if (!(fastest < 1.0)) {
        return ::testing::AssertionFailure() << "a node still moves at " << fastest;
    }
    return ::testing::AssertionSuccess();
}

class SoftStructureTest : public SandboxTest {
protected:
    // Moves the tool off the origin, to x = -1.5, y = 2, and raises it by 6.
    void moveToolAside() {
        moveMouse(80, -60);
        for (int step = 0; step < 12; ++step) click(SDL_BUTTON_WHEELUP);
    }

    // Raises the tool from 5 to 60, above where any structure starts, so that
    // what is dropped falls onto the open ground rather than onto the jaws.
    void liftToolAboveTheDrop() {
        for (int step = 0; step < 110; ++step) click(SDL_BUTTON_WHEELUP);
    }

    // Steps the world one pass at a time, checking after every pass that the
    // structure holds together above the ground.
    ::testing::AssertionResult fallWithoutTearing(double seconds, const BodyList& nodes,
                                                  double radius, double reach) {
        for (double elapsed = 0.0; elapsed < seconds; elapsed += 1.0 / 60.0) {
            simulate(1.0 / 60.0);
            auto whole = holdsTogetherAboveGround(sandbox->springs.joints, nodes, radius, reach);
            if (!whole) return whole << " after " << elapsed << " s";
        }
        return ::testing::AssertionSuccess();
    }

    // The one structure of a group, after exactly one drop.
    const BodyList& onlyStructure(const StructureGroup& group) {
        static const BodyList none;
        EXPECT_EQ(group.structures.size(), 1u);
        return group.structures.empty() ? none : group.structures.front();
    }
};
