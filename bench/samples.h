// Timings of one measure over many passes, in milliseconds.
#pragma once

#include <cstddef>
#include <vector>

namespace bench {

// Wall: elapsed real time, what a user waits for. Cpu: the time that this
// process's threads (the GL driver's among them) spent running, which other
// programs on a busy machine do not inflate; it leaves out the X server.
enum class TimeSource { kWall, kCpu };

void useTimeSource(TimeSource source);
TimeSource timeSource();

// Milliseconds since an arbitrary start, on the chosen clock.
double now();

class Samples {
public:
    void add(double value) { values_.push_back(value); }
    std::size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    double last() const { return values_.back(); }

    double median() const;
    // Nearest rank: the smallest sample that at least 90 % of the samples
    // do not exceed.
    double percentile90() const;

private:
    std::vector<double> sorted() const;

    std::vector<double> values_;
};

}  // namespace bench
