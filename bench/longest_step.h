// How long a single step of the world may be before it wrecks a soft
// structure at rest: the bound on the step comes from this measurement.
#pragma once

#include "scenes.h"

#include <cstdio>

namespace bench {

// Lands each soft structure, on the ground and over the tool, then gives it
// one step of each of a range of lengths; prints a table and writes it as CSV.
void measureLongestStep(Sandbox& sandbox, std::FILE* csv);

}  // namespace bench
