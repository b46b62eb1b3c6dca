#include "samples.h"

#include <time.h>

#include <algorithm>
#include <cmath>

namespace bench {
namespace {

TimeSource source = TimeSource::kWall;

}  // namespace

void useTimeSource(TimeSource chosen) {
    source = chosen;
}

TimeSource timeSource() {
    return source;
}

double now() {
    timespec t;
    clock_gettime(source == TimeSource::kWall ? CLOCK_MONOTONIC : CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec * 1e-6;
}

std::vector<double> Samples::sorted() const {
    std::vector<double> values = values_;
    std::sort(values.begin(), values.end());
    return values;
}

double Samples::median() const {
    if (values_.empty()) return 0.0;
    const std::vector<double> values = sorted();
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (values[middle - 1] + values[middle]) / 2.0;
}

double Samples::percentile90() const {
    if (values_.empty()) return 0.0;
    const std::vector<double> values = sorted();
    const auto rank = static_cast<std::size_t>(std::ceil(0.9 * values.size()));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace bench
