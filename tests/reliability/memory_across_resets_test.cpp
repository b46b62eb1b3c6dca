// Resident memory across resets: a reset gives back everything the world,
// the space and the lists took, so the same scene built thirty times over
// costs no more than building it a few times.
#include "reliability/scene_census.h"
#include "support/sandbox_fixture.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kShotsOfEachKind = 3;
constexpr int kPassesPerSecond = 10;  // a slow machine's second: the same objects, fewer steps
constexpr int kCycles = 30;
constexpr int kWarmUpCycles = 5;       // allocator pools and caches settle by then
constexpr long kAllocatorNoise = 4L << 20;  // bytes of slack over the warmed-up peak

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsHeldBack = true;  // the sanitizer quarantines what is freed
#else
constexpr bool kMemoryIsHeldBack = false;
#endif

}  // namespace

TEST_F(SandboxTest, ResetsKeepResidentMemoryFlat) {
    if (kMemoryIsHeldBack) GTEST_SKIP() << "freed memory is held back by the sanitizer";

    std::vector<long> resident;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const Census everyKind = queueEveryKind(kShotsOfEachKind);
        sandbox->handleEvents();
        for (const std::string& problem : compare(*sandbox, everyKind)) ADD_FAILURE() << problem;
        for (int pass = 0; pass < kPassesPerSecond; ++pass) {
            sandbox->frameSeconds = 1.0 / kPassesPerSecond;
            sandbox->stepPhysics();
        }

        press(SDLK_r);
        sandbox->handleEvents();
        for (const std::string& problem : compare(*sandbox, Census{})) ADD_FAILURE() << problem;
        resident.push_back(residentBytes());
    }

    const long warmedUp = *std::max_element(resident.begin(), resident.begin() + kWarmUpCycles);
    for (int cycle = kWarmUpCycles; cycle < kCycles; ++cycle) {
        EXPECT_LE(resident[cycle], warmedUp + kAllocatorNoise)
            << "cycle " << cycle << " holds " << (resident[cycle] - warmedUp) / 1024
            << " KiB more than the first cycles did";
    }
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        RecordProperty("resident_kib_" + std::to_string(cycle), resident[cycle] / 1024);
    }
}
