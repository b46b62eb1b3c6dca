#include "sandbox.h"

#include <cmath>

// Stubbed until the projectiles land.
void Sandbox::fireBall() {}
void Sandbox::fireCylinder() {}
