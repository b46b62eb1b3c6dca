#include "sandbox.h"
void Sandbox::dropCylinder() {}
