#include "sandbox.h"

void Sandbox::dropBean() {}
void Sandbox::addStaticSphere() {}
