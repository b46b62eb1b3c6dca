#include "report.h"

#include <cstdio>

namespace bench {
namespace {

// The measures in table and CSV order, each with where the sandbox's and
// the floor's samples are kept. Spawning has no floor.
struct Measure {
    const char* title;
    const char* column;
    Samples SceneResult::*sandbox;
    Samples SceneResult::*floor;
};

const Measure kMeasures[] = {
    {"spawn", "spawn", &SceneResult::spawn, nullptr},
    {"collide", "collide", &SceneResult::collide, &SceneResult::floorCollide},
    {"solve", "solve", &SceneResult::solve, &SceneResult::floorSolve},
    {"draw", "draw", &SceneResult::draw, &SceneResult::floorDraw},
    {"draw no mirror", "draw_no_mirror", &SceneResult::drawPlain, &SceneResult::floorDrawPlain},
    {"pass", "pass", &SceneResult::pass, &SceneResult::floorPass},
};

void printCell(const Samples& samples) {
    std::printf("  %8.3f %8.3f", samples.median(), samples.percentile90());
}

void printRow(const SceneResult& result, bool floor) {
    if (floor) {
        std::printf("%-13s %7s  %-7s", "", "", "floor");
    } else {
        std::printf("%-13s %7d  %-7s", result.name.c_str(), result.objects, "sandbox");
    }
    for (const Measure& measure : kMeasures) {
        if (floor && measure.floor == nullptr) {
            std::printf("  %8s %8s", "-", "-");
        } else {
            printCell(result.*(floor ? measure.floor : measure.sandbox));
        }
    }
    if (!floor) std::printf("  %6.3f %6.3f", passRatio(result), result.passRatio.median());
    std::printf("\n");
}

}  // namespace

double passRatio(const SceneResult& result) {
    return result.pass.median() / result.floorPass.median();
}

void printTable(const std::vector<SceneResult>& results, const RunSettings& settings) {
    std::printf("%d timed passes of 1/60 s per scene after %d untimed; spawn over %d builds; "
                "%s time.\n",
                settings.passes, settings.settle, settings.spawns,
                timeSource() == TimeSource::kWall ? "elapsed" : "process CPU");
    std::printf("Milliseconds: median and 90th percentile. ratio: sandbox pass / floor pass, "
                "from the medians and pass by pass.\n\n");
    std::printf("%-13s %7s  %-7s", "scene", "objects", "");
    for (const Measure& measure : kMeasures) std::printf("  %-17s", measure.title);
    std::printf("  %-13s\n", "ratio");
    std::printf("%-13s %7s  %-7s", "", "", "");
    for (std::size_t i = 0; i < sizeof kMeasures / sizeof kMeasures[0]; ++i) {
        std::printf("  %8s %8s", "median", "p90");
    }
    std::printf("  %6s %6s\n", "median", "paired");
    for (const SceneResult& result : results) {
        printRow(result, false);
        printRow(result, true);
    }
    for (const SceneResult& result : results) {
        if (result.drift > 0.0) {
            std::printf("note: %s: the floor's world drifted from the sandbox's by up to %.3g\n",
                        result.name.c_str(), result.drift);
        }
    }
}

bool writeCsv(const std::vector<SceneResult>& results, const RunSettings& settings,
              const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    std::fprintf(file, "scene,objects,clock,passes,settle_passes,spawns");
    for (const Measure& measure : kMeasures) {
        std::fprintf(file, ",%s_median_ms,%s_p90_ms", measure.column, measure.column);
    }
    for (const Measure& measure : kMeasures) {
        if (measure.floor == nullptr) continue;
        std::fprintf(file, ",floor_%s_median_ms,floor_%s_p90_ms", measure.column, measure.column);
    }
    std::fprintf(file, ",pass_ratio,paired_pass_ratio,drift\n");
    for (const SceneResult& result : results) {
        std::fprintf(file, "%s,%d,%s,%d,%d,%d", result.name.c_str(), result.objects,
                     timeSource() == TimeSource::kWall ? "wall" : "cpu", settings.passes,
                     settings.settle, settings.spawns);
        for (const Measure& measure : kMeasures) {
            const Samples& samples = result.*measure.sandbox;
            std::fprintf(file, ",%.4f,%.4f", samples.median(), samples.percentile90());
        }
        for (const Measure& measure : kMeasures) {
            if (measure.floor == nullptr) continue;
            const Samples& samples = result.*measure.floor;
            std::fprintf(file, ",%.4f,%.4f", samples.median(), samples.percentile90());
        }
        std::fprintf(file, ",%.4f,%.4f,%.3g\n", passRatio(result), result.passRatio.median(),
                     result.drift);
    }
    return std::fclose(file) == 0;
}

}  // namespace bench
