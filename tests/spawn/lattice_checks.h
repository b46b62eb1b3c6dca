// Checks shared by the tests of the three soft structures.
#pragma once
#include "support/sandbox_fixture.h"
