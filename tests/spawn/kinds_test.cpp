// Every kind of body a user can make, with the tool off the origin and low, as the solver holds it
// and as it shows (its image read where only the ambient light falls: a quarter of its colour).
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using Params = std::vector<double>;
constexpr float kX = 0.175f, kY = 0.325f;  // the tool's x and y, after a motion of (13, 7)
constexpr double kTurn = 6.2831853f;       // the tube's full turn, at single precision
// The last box 8 spacings of 2.1 from the first, the tube's last node, the cloth's corners.
constexpr double kBoxes = 8 * (2 + 0.1), kColumn = 19 * kTurn / 20, kEdge = 14 * 2 * double(0.6f);
const Float3 kLastBox = {float(kX + 8 - kBoxes), float(kY - 8 + kBoxes), float(60 + kBoxes)};
const Float3 kLastNode = {float(kX + 2 * std::sin(kColumn)), float(kY + 2 * std::cos(kColumn)),
                          float(40 + 19 * 2 * double(0.3f))};
const Float3 kFirstCorner = {float(kX + kEdge), float(kY - kEdge), 40};
const Float3 kLastCorner = {float(kX - kEdge), float(kY + kEdge), 40};
constexpr int kSettings[] = {dParamLoStop, dParamHiStop,  dParamBounce,
                             dParamCFM,    dParamStopERP, dParamStopCFM};

const struct Kind {
    struct {
        const char* name;
        SDL_Event input;
        size_t count;
        float mass;
        Params shape;  // sphere radius, box sides, or capsule radius and length
        bool sleeps;   // auto-disable
    } made;
    struct {
        Float3 first, last;  // where the first and last bodies start, computed as promised
        size_t springs;
        Params settings;  // stops, bounce, CFM, stop ERP and CFM
    } placed;
    struct {  // colour (a green of -1: it shimmers), where its first body is put to be seen, a
              // point of its image the light misses, from the image's centre, its extent along y
        Float3 colour, at, shade;
        float from, to;
    } look;
} kKinds[] = {
    {{"SphereBlock", event(SDL_KEYDOWN, SDLK_1), 729, 1e-7f, {0.25}, true},
     {{kX + 2, kY - 2, 40}, {kX + 2 - 4, kY - 2 + 4, 44}, 0, {}},
     {{0.5f, 0.5f, 1}, {12, 6, 0.9f}, {0, 0, 0.25f}, -0.25f, 0.25f}},
    {{"BoxBlock", event(SDL_KEYDOWN, SDLK_6), 729, 1e-7f, {2, 2, 2}, true},
     {{kX + 8, kY - 8, 60}, kLastBox, 0, {}},
     {{0.5f, 0.5f, 1}, {10, 6, 2.5f}, {0, 0, 1}, -1, 1}},
    {{"EmptyBox", event(SDL_KEYDOWN, SDLK_2), 602, 0.5f, {0.5}, false},
     {{kX + 4, kY - 4, 50}, {kX - 5, kY + 5, 50}, 1200, {0, 1.0, 0, 0, 0.8, 0}},
     {{0.5f, 1, 0.75f}, {12, 6, 1.2f}, {0, 0, 0.5f}, -0.5f, 0.5f}},
    {{"Cylinder", event(SDL_KEYDOWN, SDLK_3), 400, 0.5f, {0.3f}, false},
     {{kX, kY + 2, 40}, kLastNode, 780, {0, 0, 0.5, 0.01, 0.1, 0.001}},
     {{1, 1, 0.5f}, {12, 6, 1}, {0, 0, 0.3f}, -0.3f, 0.3f}},
    {{"Cloth", event(SDL_KEYDOWN, SDLK_4), 841, 5e-7f, {0.6f}, false},
     {kFirstCorner, kLastCorner, 1624, {0, 0, 0, 0.01, 0.5, 0.01}},
     {{1, 0.5f, 1}, {12, 6, 1.4f}, {0, 0, 0.6f}, -0.6f, 0.6f}},
    // Beans and balls leave from the first jaw, a unit below the tool's y.
    {{"Bean", event(SDL_KEYDOWN, SDLK_0), 1, 0.5f, {1}, false},
     {{kX, kY - 1, 1.5f}, {kX, kY - 1, 1.5f}, 0, {}},
     {{0.75f, -1, 0.25f}, {12, 6, 1.5f}, {0, 0, 1}, -1, 1}},
    {{"Ball", event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), 1, 50, {1.5}, false},
     {{kX - 2, kY - 1, 6.5f}, {kX - 2, kY - 1, 6.5f}, 0, {}},
     {{1, 0.75f, 0.25f}, {10, 6, 2.5f}, {0, 0, 1.5f}, -1.5f, 1.5f}},
    // Its tube runs 10 along the body's z, world y, from the body's centre.
    {{"Sweeper", event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT), 1, 50, {1, 10}, false},
     {{kX - 3, kY - 5, 5.5f}, {kX - 3, kY - 5, 5.5f}, 0, {}},
     {{1, 0.75f, 0.25f}, {10, 3, 2.5f}, {-0.29f, 5, 0.9f}, 0, 10}},
};

// The geom's shape: sphere radius, box sides, or capsule radius and length.
Params shapeOf(dGeomID geom) {
    dVector3 sides;
    dReal radius, length;
    switch (dGeomGetClass(geom)) {
        case dSphereClass:
            return {dGeomSphereGetRadius(geom)};
        case dBoxClass:
            dGeomBoxGetLengths(geom, sides);
            return {sides[0], sides[1], sides[2]};
        default:
            dGeomCapsuleGetParams(geom, &radius, &length);
            return {radius, length};
    }
}

class KindTest : public WindowTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(KindTest, MakesItsBodiesAsPromisedAndShowsThemInItsColourAndSize) {
    const auto& [made, placed, look] = kKinds[GetParam()];
    send({event(SDL_MOUSEMOTION, 13, 7), event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_WHEELDOWN),
          made.input});
    BodyList bodies;
    for (int i = 0; i < dSpaceGetNumGeoms(sandbox->space); ++i) {
        const dGeomID geom = dSpaceGetGeom(sandbox->space, i);
        const dBodyID body = dGeomGetBody(geom);
        if (!body) continue;
        bodies.insert(bodies.begin(), body);  // the space lists its geoms newest first
        dMass mass;
        dBodyGetMass(body, &mass);
        ASSERT_EQ(shapeOf(geom), made.shape);
        ASSERT_FLOAT_EQ(mass.mass, made.mass);
        ASSERT_EQ(dBodyGetAutoDisableFlag(body), made.sleeps);
    }
    ASSERT_EQ(bodies.size(), made.count);
    EXPECT_TRUE(isAt(position(bodies.front()), placed.first, 0)) << "the first body";
    EXPECT_TRUE(isAt(position(bodies.back()), placed.last, 0)) << "the last body";

    const bool tube = made.input.key.keysym.sym == SDLK_3;
    auto column = [](int node) { return node / 20; };
    const std::vector<dJointID>& joints = sandbox->springs.joints;
    std::set<std::pair<int, int>> pairs;
    for (size_t i = 0; i < joints.size(); ++i) {
        SCOPED_TRACE("spring " + std::to_string(i));
        Params settings;
        for (int p : kSettings) settings.push_back(dJointGetSliderParam(joints[i], p));
        ASSERT_THAT(settings, ::testing::Pointwise(::testing::FloatEq(), placed.settings));
        const auto node = [&](int end) { return dJointGetBody(joints[i], end); };
        const int a = std::find(bodies.begin(), bodies.end(), node(0)) - bodies.begin();
        const int b = std::find(bodies.begin(), bodies.end(), node(1)) - bodies.begin();
        ASSERT_LT(std::max(a, b), int(bodies.size())) << "a spring to a body of another kind";
        pairs.insert({std::min(a, b), std::max(a, b)});
        const Float3 p = position(bodies[a]), q = position(bodies[b]);
        const float length = std::hypot(q.x - p.x, q.y - p.y, q.z - p.z);
        const bool ring = tube && column(a) != column(b);
        ASSERT_NEAR(length, ring ? 4 * std::sin(M_PI / 20) : 2 * made.shape[0], 1e-4);
        const double reached =
            (column(b) == (column(a) + 1) % 20 ? column(b) : column(a)) * kTurn / 20;
        const Float3 tangent = {float(std::cos(reached)), float(-std::sin(reached)), 0};
        dVector3 axis;
        dJointGetSliderAxis(joints[i], axis);
        ASSERT_TRUE(isAt(toFloat3(axis), ring ? tangent
                                              : Float3{(q.x - p.x) / length, (q.y - p.y) / length,
                                                       (q.z - p.z) / length}));
        ASSERT_NEAR(dJointGetSliderPosition(joints[i]), 0, 1e-6) << "not at rest";
    }
    EXPECT_EQ(joints.size(), placed.springs);
    EXPECT_EQ(pairs.size(), joints.size()) << "pairs of neighbours joined, against springs";

    dBodySetPosition(bodies[0], look.at.x, look.at.y, look.at.z);
    const Float3 c = look.colour, image = {look.at.x + look.shade.x, look.at.y + look.shade.y,
                                           look.shade.z - look.at.z};
    drawFrame();
    Pixel shade = pixelAt(image);
    if (c.y < 0) shade.g = 0;
    EXPECT_TRUE(isColour(shade, {c.x / 4, std::max(0.0f, c.y / 4), c.z / 4})) << "its image";
    sandbox->showReflections = false;
    drawFrame();
    EXPECT_FALSE(isDrawn(pixelAt(image))) << "its image with reflections off";

    const Float3 spot = {18, -(look.from + look.to) / 2, 18};  // drawn inside its ends, not out
    dBodySetPosition(bodies[0], spot.x, spot.y, spot.z);
    drawFrame();
    const float margin = 0.1f * (look.to - look.from);
    for (float y : {look.from + margin, look.to - margin, look.from - margin, look.to + margin}) {
        const bool inside = y > look.from && y < look.to;
        EXPECT_EQ(bool(isDrawn(pixelAt({spot.x, spot.y + y, spot.z}))), inside) << "drawn at " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindTest, ::testing::Range(0, 8),
                         [](auto& info) { return kKinds[info.param].made.name; });
