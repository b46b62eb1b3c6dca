// The figures of a run as a table on standard output and as CSV.
#pragma once

#include "measure.h"

#include <string>
#include <vector>

namespace bench {

// Sandbox pass ÷ floor pass, from the two medians.
double passRatio(const SceneResult& result);

void printTable(const std::vector<SceneResult>& results, const RunSettings& settings);

// One row per scene, the same figures as the table. False if the file
// cannot be written.
bool writeCsv(const std::vector<SceneResult>& results, const RunSettings& settings,
              const std::string& path);

}  // namespace bench
