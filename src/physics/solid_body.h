// Every dynamic object in the world is made the same way: one body with one
// collision shape bound to it.
#pragma once

#include <ode/ode.h>

// Creates a body in the world with the given mass, binds the shape to it and
// places it. The position is taken at single precision, the precision of
// every position the sandbox hands out. Nothing hangs off the body's user data.
dBodyID createSolidBody(dWorldID world, dGeomID shape, const dMass& mass, double x, double y,
                        double z);
