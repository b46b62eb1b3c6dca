// Every kind of body a user can make, one row each: its bodies' shapes, masses and sleep as the
// solver holds them, each body made before its shape, its springs' settings; and how it looks: its
// colour and its mirror image's, read where only the ambient light falls (a quarter of the colour),
// so the colour itself shows, and its size on screen.
#include "support/fixtures.h"

#include <unordered_map>

namespace {

using Params = std::vector<double>;

const struct Kind {
    const char* name;
    SDL_Event input;
    size_t count;
    float mass;
    Params shape,
        springs;  // sphere radius, box sides or capsule radius and length; slider settings
    bool sleeps;  // auto-disable
    Float3 at, colour, shade;  // where it stands, and a point of its image, from the image's
                               // centre, the light misses
    float from, to;            // its extent along y
} kKinds[] = {
    {"SphereBlock",
     event(SDL_KEYDOWN, SDLK_1),
     729,
     1e-7f,
     {0.25},
     {},
     true,
     {12, 6, 0.9f},
     {0.5f, 0.5f, 1},
     {0, 0, 0.25f},
     -0.25f,
     0.25f},
    {"BoxBlock",
     event(SDL_KEYDOWN, SDLK_6),
     729,
     1e-7f,
     {2, 2, 2},
     {},
     true,
     {10, 6, 2.5f},
     {0.5f, 0.5f, 1},
     {0, 0, 1},
     -1,
     1},
    {"EmptyBox",
     event(SDL_KEYDOWN, SDLK_2),
     602,
     0.5f,
     {0.5},
     {0, 1.0, 0, 0, 0.8, 0},
     false,
     {12, 6, 1.2f},
     {0.5f, 1, 0.75f},
     {0, 0, 0.5f},
     -0.5f,
     0.5f},
    {"Cylinder",
     event(SDL_KEYDOWN, SDLK_3),
     400,
     0.5f,
     {0.3f},
     {0, 0, 0.5, 0.01, 0.1, 0.001},
     false,
     {12, 6, 1},
     {1, 1, 0.5f},
     {0, 0, 0.3f},
     -0.3f,
     0.3f},
    {"Cloth",
     event(SDL_KEYDOWN, SDLK_4),
     841,
     5e-7f,
     {0.6f},
     {0, 0, 0, 0.01, 0.5, 0.01},
     false,
     {12, 6, 1.4f},
     {1, 0.5f, 1},
     {0, 0, 0.6f},
     -0.6f,
     0.6f},
    {"Bean",
     event(SDL_KEYDOWN, SDLK_0),
     1,
     0.5f,
     {1},
     {},
     false,
     {12, 6, 1.5f},
     {0.75f, -1, 0.25f},
     {0, 0, 1},
     -1,
     1},
    {"Ball",
     event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT),
     1,
     50,
     {1.5},
     {},
     false,
     {10, 6, 2.5f},
     {1, 0.75f, 0.25f},
     {0, 0, 1.5f},
     -1.5f,
     1.5f},
    // Its tube runs 10 along the body's z, world y, from the body's centre.
    {"Sweeper",
     event(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT),
     1,
     50,
     {1, 10},
     {},
     false,
     {10, 3, 2.5f},
     {1, 0.75f, 0.25f},
     {-0.29f, 5, 0.9f},
     0,
     10},
};

// The geom's shape, and the solid of that shape and mass as the solver should hold it.
Params shapeOf(dGeomID geom, float total, dMass* mass) {
    dVector3 sides;
    dReal radius, length;
    switch (dGeomGetClass(geom)) {
        case dSphereClass:
            return dMassSetSphereTotal(mass, total, radius = dGeomSphereGetRadius(geom)),
                   Params{radius};
        case dBoxClass:
            dGeomBoxGetLengths(geom, sides);
            return dMassSetBoxTotal(mass, total, sides[0], sides[1], sides[2]),
                   Params{sides[0], sides[1], sides[2]};
        default:
            dGeomCapsuleGetParams(geom, &radius, &length);
            return dMassSetCapsuleTotal(mass, total, 3, radius, length), Params{radius, length};
    }
}

std::unordered_map<void*, size_t>
    allocations;  // when the physics engine last handed out each address

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
    SDL_PushEvent(const_cast<SDL_Event*>(&kind.input));
    sandbox->handleEvents();
    dSetAllocHandler(nullptr);
    BodyList bodies;
    for (int i = 0; i < dSpaceGetNumGeoms(sandbox->space); ++i) {
        const dGeomID geom = dSpaceGetGeom(sandbox->space, i);
        if (!dGeomGetBody(geom)) continue;
        bodies.push_back(dGeomGetBody(geom));
        dMass mass, expected;
        dBodyGetMass(bodies.back(), &mass);
        ASSERT_EQ(shapeOf(geom, kind.mass, &expected), kind.shape);
        ASSERT_FLOAT_EQ(mass.mass, kind.mass);
        for (int i : {0, 5, 10}) ASSERT_FLOAT_EQ(mass.I[i], expected.I[i]);
        ASSERT_TRUE(dBodyGetAutoDisableFlag(bodies.back()) == kind.sleeps &&
                    !dBodyGetData(bodies.back()));
        ASSERT_LT(allocations.at(bodies.back()), allocations.at(geom));
    }
    ASSERT_EQ(bodies.size(), kind.count);
    for (dJointID spring : sandbox->springs.joints) {
        int p = 0;
        for (int param :
             {dParamLoStop, dParamHiStop, dParamBounce, dParamCFM, dParamStopERP, dParamStopCFM}) {
            ASSERT_FLOAT_EQ(float(dJointGetSliderParam(spring, param)), kind.springs.at(p++));
        }
    }

    dBodySetPosition(bodies[0], kind.at.x, kind.at.y, kind.at.z);
    drawFrame();
    const Float3 shade = {kind.at.x + kind.shade.x, kind.at.y + kind.shade.y,
                          kind.shade.z - kind.at.z},
                 c = kind.colour;
    const Pixel image = pixelAt(shade);
    EXPECT_TRUE(isColour(c.y < 0 ? Pixel{image.r, 0, image.b} : image,
                         {c.x / 4, std::max(0.0f, c.y / 4), c.z / 4}));
    EXPECT_TRUE(c.y >= 0 || (image.g >= 15 && image.g <= 33)) << image.g;  // the bean's shimmer
    sandbox->showReflections = false;
    drawFrame();
    EXPECT_TRUE(isColour(pixelAt(shade), {0, 0, 0}, 0));

    const Float3 near = {18, -(kind.from + kind.to) / 2,
                         18};  // close: drawn just inside its ends, not just outside
    dBodySetPosition(bodies[0], near.x, near.y, near.z);
    drawFrame();
    auto seen = [&](float y) {
        const Pixel p = pixelAt({near.x, near.y + y, near.z});
        return p.r + p.g + p.b > 20;
    };
    const float margin = 0.1f * (kind.to - kind.from);
    EXPECT_TRUE(seen(kind.from + margin) && seen(kind.to - margin));
    EXPECT_FALSE(seen(kind.from - margin) || seen(kind.to + margin));
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindTest, ::testing::Range(0, 8),
                         [](auto& info) { return kKinds[info.param].name; });
