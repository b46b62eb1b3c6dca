#include "sandbox.h"
void Sandbox::dropEmptyBox() {}
