// Every dynamic object in the world is made the same way: one body with one
// collision shape bound to it.
#pragma once

#include <ode/ode.h>

// Creates a body in the world, then its shape with makeShape (a geom in the
// space), gives the body the mass, binds the shape to it and places it. The
// position is taken at single precision, the precision of every position
// the sandbox hands out. Nothing hangs off the body's user data.
template <typename MakeShape>
dBodyID createSolidBody(dWorldID world, const dMass& mass, MakeShape makeShape, double x, double y,
                        double z) {
    const dBodyID body = dBodyCreate(world);
    const dGeomID shape = makeShape();
    dBodySetMass(body, &mass);
    dGeomSetBody(shape, body);
    dBodySetPosition(body, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    dBodySetData(body, nullptr);
    return body;
}
