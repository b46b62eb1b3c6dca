#include "sandbox.h"

void Sandbox::dropSphereBox() {}
void Sandbox::dropBoxBox() {}
