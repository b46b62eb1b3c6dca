#include "sandbox.h"
void Sandbox::dropCloth() {}
