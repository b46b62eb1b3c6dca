#include "physics/solid_body.h"

dBodyID createSolidBody(dWorldID world, dGeomID shape, const dMass& mass, double x, double y,
                        double z) {
    const dBodyID body = dBodyCreate(world);
    dBodySetMass(body, &mass);
    dGeomSetBody(shape, body);
    dBodySetPosition(body, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    dBodySetData(body, nullptr);
    return body;
}
