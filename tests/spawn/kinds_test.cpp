// Every kind of body a user can make, one row each: how many an input makes, their shapes, masses and sleep as the
// solver holds them, each body made before its shape, the drawing parameters and spring settings written with them,
// and how they look: their colour and their mirror image's, read where only the ambient light falls (a quarter of the
// colour) so the colour itself shows, not a multiple of it, and their size on screen.
#include "support/fixtures.h"

#include <unordered_map>

namespace {

using Params = std::vector<double>;
using Made = std::pair<BodyList, Params>;  // the bodies, and the drawing parameters written with them

template <typename Group>
Made spheres(const BodyList& bodies, const Group& g) {
    return {bodies, {g.radius, double(g.slices), double(g.stacks)}};
}

const struct Kind {
    const char* name;
    SDL_Event input;
    std::function<Made(const Sandbox&)> made;
    Params drawn;
    float mass;
    Params shape, springs;  // shape: sphere radius, box sides or capsule radius and length; springs: slider settings
    bool sleeps;  // auto-disable
    Float3 at, colour, shade;  // where it stands, and a point of its image (from the image's centre) the light misses
    float from, to;  // its extent along y
} kKinds[] = {
    {"SphereBlock", event(SDL_KEYDOWN, SDLK_1), [](auto& s) { return spheres(s.sphereBoxes.structures.at(0), s.sphereBoxes); },
     {0.25, 4, 4}, 1e-7f, {0.25}, {}, true, {12, 6, 0.9f}, {0.5f, 0.5f, 1}, {0, 0, 0.25f}, -0.25f, 0.25f},
    {"BoxBlock", event(SDL_KEYDOWN, SDLK_6),
     [](auto& s) { return Made{s.boxBoxes.structures.at(0), {s.boxBoxes.sides.x, s.boxBoxes.sides.y, s.boxBoxes.sides.z}}; },
     {2, 2, 2}, 1e-7f, {2, 2, 2}, {}, true, {10, 6, 2.5f}, {0.5f, 0.5f, 1}, {0, 0, 1}, -1, 1},
    {"EmptyBox", event(SDL_KEYDOWN, SDLK_2), [](auto& s) { return spheres(s.emptyBoxes.structures.at(0), s.emptyBoxes); },
     {0.5, 4, 4}, 0.5f, {0.5}, {0, 1.0, 0, 0, 0.8, 0}, false, {12, 6, 1.2f}, {0.5f, 1, 0.75f}, {0, 0, 0.5f}, -0.5f, 0.5f},
    {"Cylinder", event(SDL_KEYDOWN, SDLK_3), [](auto& s) { return spheres(s.softCylinders.structures.at(0), s.softCylinders); },
     {0.3f, 4, 4}, 0.5f, {0.3f}, {0, 0, 0.5, 0.01, 0.1, 0.001}, false, {12, 6, 1}, {1, 1, 0.5f}, {0, 0, 0.3f}, -0.3f, 0.3f},
    {"Cloth", event(SDL_KEYDOWN, SDLK_4), [](auto& s) { return spheres(s.cloths.structures.at(0), s.cloths); },
     {0.6f, 4, 4}, 5e-7f, {0.6f}, {0, 0, 0, 0.01, 0.5, 0.01}, false, {12, 6, 1.4f}, {1, 0.5f, 1}, {0, 0, 0.6f}, -0.6f, 0.6f},
    {"Bean", event(SDL_KEYDOWN, SDLK_0), [](auto& s) { return spheres(s.beans.bodies, s.beans); }, {1, 12, 12}, 0.5f, {1}, {},
     false, {12, 6, 1.5f}, {0.75f, -1, 0.25f}, {0, 0, 1}, -1, 1},  // green: a shimmer between a quarter and a half
    {"Ball", event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT), [](auto& s) { return spheres(s.balls.bodies, s.balls); },
     {1.5, 15, 15}, 50, {1.5}, {}, false, {10, 6, 2.5f}, {1, 0.75f, 0.25f}, {0, 0, 1.5f}, -1.5f, 1.5f},
    {"Sweeper", event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),  // its tube runs 10 along world y from the body's centre
     [](auto& s) { return Made{s.shotCylinders.bodies, {1.0 * s.shotCylinders.radius, s.shotCylinders.length,
                                                          1.0 * s.shotCylinders.slices, 1.0 * s.shotCylinders.stacks}}; },
     {1, 10, 10, 10}, 50, {1, 10}, {}, false, {10, 3, 2.5f}, {1, 0.75f, 0.25f}, {-0.29f, 5, 0.9f}, 0, 10},
};

// The geom's shape, and the solid of that shape and mass as the solver should hold it.
Params shapeOf(dGeomID geom, float total, dMass* mass) {
    dVector3 sides;
    dReal radius, length;
    switch (dGeomGetClass(geom)) {
        case dSphereClass: radius = dGeomSphereGetRadius(geom); dMassSetSphereTotal(mass, total, radius); return {radius};
        case dBoxClass:
            dGeomBoxGetLengths(geom, sides);
            dMassSetBoxTotal(mass, total, sides[0], sides[1], sides[2]);
            return {sides[0], sides[1], sides[2]};
        default:
            dGeomCapsuleGetParams(geom, &radius, &length);
            dMassSetCapsuleTotal(mass, total, 3, radius, length);  // along the body's z
            return {radius, length};
    }
}

std::unordered_map<void*, size_t> allocations;  // when the physics engine last handed out each address

class KindTest : public WindowTest, public ::testing::WithParamInterface<int> {};

}  // namespace

TEST_P(KindTest, MakesItsBodiesAsPromisedAndShowsThemInItsColourAndSize) {
    const Kind& kind = kKinds[GetParam()];
    dSetAllocHandler([](dsizeint size) {
        static size_t count = 0;
        void* p = std::malloc(size);
        allocations[p] = ++count;
        return p;
    });
    SDL_Event input = kind.input;
    SDL_PushEvent(&input);
    sandbox->handleEvents();
    dSetAllocHandler(nullptr);
    const auto [bodies, drawn] = kind.made(*sandbox);
    EXPECT_EQ(drawn, kind.drawn);
    ASSERT_EQ(size_t(dSpaceGetNumGeoms(sandbox->space)), bodies.size() + 3);
    for (dBodyID body : bodies) {
        dMass mass, expected;
        dBodyGetMass(body, &mass);
        const dGeomID geom = dBodyGetFirstGeom(body);
        ASSERT_EQ(shapeOf(geom, kind.mass, &expected), kind.shape);
        ASSERT_FLOAT_EQ(mass.mass, kind.mass);
        for (int i : {0, 5, 10}) ASSERT_FLOAT_EQ(mass.I[i], expected.I[i]);
        ASSERT_TRUE(dBodyGetAutoDisableFlag(body) == kind.sleeps && !dBodyGetData(body));
        ASSERT_LT(allocations.at(body), allocations.at(geom));
    }
    for (dJointID spring : sandbox->springs.joints) {
        Params settings;
        for (int p : {dParamLoStop, dParamHiStop, dParamBounce, dParamCFM, dParamStopERP, dParamStopCFM}) {
            settings.push_back(float(dJointGetSliderParam(spring, p)));
        }
        for (size_t p = 0; p < 6; ++p) ASSERT_FLOAT_EQ(settings[p], kind.springs.at(p));
    }

    const dBodyID body = bodies[0];  // drawn alone
    Sandbox& s = *sandbox;
    for (auto* structures : {&s.sphereBoxes.structures, &s.boxBoxes.structures, &s.emptyBoxes.structures,
                             &s.softCylinders.structures, &s.cloths.structures}) {
        if (!structures->empty()) (*structures)[0].resize(1);
    }
    dBodySetPosition(body, kind.at.x, kind.at.y, kind.at.z);
    drawFrame();
    const Pixel image = pixelAt({kind.at.x + kind.shade.x, kind.at.y + kind.shade.y, kind.shade.z - kind.at.z});
    const Float3 c = kind.colour;
    EXPECT_TRUE(isColour(c.y < 0 ? Pixel{image.r, 0, image.b} : image, {c.x / 4, std::max(0.0f, c.y / 4), c.z / 4}));
    EXPECT_TRUE(c.y >= 0 || (image.g >= 15 && image.g <= 33)) << image.g;  // the bean's shimmer
    sandbox->showReflections = false;
    drawFrame();
    EXPECT_TRUE(isColour(pixelAt({kind.at.x + kind.shade.x, kind.at.y + kind.shade.y, kind.shade.z - kind.at.z}), {0, 0, 0}, 0));

    const Float3 near = {18, -(kind.from + kind.to) / 2, 18};  // close: drawn just inside its ends, not just outside
    dBodySetPosition(body, near.x, near.y, near.z);
    drawFrame();
    auto seen = [&](float y) {
        const Pixel p = pixelAt({near.x, near.y + y, near.z});
        return p.r + p.g + p.b > 20;
    };
    const float margin = 0.1f * (kind.to - kind.from);
    EXPECT_TRUE(seen(kind.from + margin) && seen(kind.to - margin));
    EXPECT_FALSE(seen(kind.from - margin) || seen(kind.to + margin));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindTest, ::testing::Range(0, 8), [](auto& info) { return kKinds[info.param].name; });
