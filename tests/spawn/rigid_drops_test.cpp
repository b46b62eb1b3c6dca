#include "support/sandbox_fixture.h"
