// Times the sandbox's passes over standard scenes against a bare loop that
// makes the same library calls. Draws in a real window on a private X
// server; prints a table and writes the figures as CSV.

#include "measure.h"
#include "report.h"
#include "scenes.h"
#include "support/xvfb.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr bench::RunSettings kDefaults = {30, 0, 3};
constexpr bench::RunSettings kProfileDefaults = {5, 0, 1};
constexpr const char* kDefaultCsv = "bramblewick_bench.csv";
constexpr const char* kProfileScene = "full-house";

const char* const kUsage =
    "usage: bramblewick_bench [options]\n"
    "  --passes N    timed passes per scene (default 30; profile 5)\n"
    "  --settle N    untimed physics-only passes before them (default 0)\n"
    "  --spawns N    builds per scene for the spawn time (default 3)\n"
    "  --scene NAME  run only this scene; may be repeated (see --list)\n"
    "  --clock wall|cpu  elapsed time (default), or the CPU time of this\n"
    "                process, steadier on a busy machine\n"
    "  --csv PATH    where the CSV goes (default bramblewick_bench.csv)\n"
    "  --profile     untimed passes of one scene (full-house unless --scene\n"
    "                is given), the sandbox's then the floor's, for callgrind\n"
    "  --list        print the scene names and stop\n";

struct Options {
    bench::RunSettings settings = kDefaults;
    std::vector<std::string> scenes;
    std::string csv = kDefaultCsv;
    bool profile = false;
    bool list = false;
    bool passesGiven = false;
};

[[noreturn]] void usageError(const char* message) {
    std::fprintf(stderr, "%s\n%s", message, kUsage);
    std::exit(2);
}

int count(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 1000000) {
        usageError("a count must be a whole number from 0 to 1000000");
    }
    return static_cast<int>(value);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) usageError(("missing value after " + option).c_str());
            return argv[++i];
        };
        if (option == "--passes") {
            options.settings.passes = count(value());
            options.passesGiven = true;
        } else if (option == "--settle") {
            options.settings.settle = count(value());
        } else if (option == "--spawns") {
            options.settings.spawns = count(value());
        } else if (option == "--scene") {
            options.scenes.push_back(value());
        } else if (option == "--clock") {
            const std::string clock = value();
            if (clock == "wall") {
                bench::useTimeSource(bench::TimeSource::kWall);
            } else if (clock == "cpu") {
                bench::useTimeSource(bench::TimeSource::kCpu);
            } else {
                usageError("--clock takes wall or cpu");
            }
        } else if (option == "--csv") {
            options.csv = value();
        } else if (option == "--profile") {
            options.profile = true;
        } else if (option == "--list") {
            options.list = true;
        } else if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else {
            usageError(("unknown option " + option).c_str());
        }
    }
    if (options.profile && !options.passesGiven) options.settings.passes = kProfileDefaults.passes;
    if (options.profile && options.scenes.empty()) options.scenes.push_back(kProfileScene);
    if (options.profile && options.scenes.size() > 1) usageError("--profile takes one scene");
    if (options.settings.spawns < 1) options.settings.spawns = 1;
    return options;
}

std::vector<bench::Scene> selectScenes(const std::vector<std::string>& names) {
    const std::vector<bench::Scene>& all = bench::standardScenes();
    if (names.empty()) return all;
    std::vector<bench::Scene> chosen;
    for (const std::string& name : names) {
        bool found = false;
        for (const bench::Scene& scene : all) {
            if (scene.name == name) {
                chosen.push_back(scene);
                found = true;
            }
        }
        if (!found) usageError(("no scene called " + name).c_str());
    }
    return chosen;
}

XvfbServer* server = nullptr;

// The server must outlive SDL's clean-up at exit, which the window's start-up
// registers later and so runs first.
void stopServer() {
    delete server;
    server = nullptr;
}

void startServer() {
    server = new XvfbServer();
    std::atexit(stopServer);
    setenv("DISPLAY", server->display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

char programName[] = "bramblewick_bench";
char* benchArgv[] = {programName, nullptr};

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    const std::vector<bench::Scene> scenes = selectScenes(options.scenes);
    if (options.list) {
        for (const bench::Scene& scene : scenes) std::printf("%s\n", scene.name.c_str());
        return 0;
    }

    try {
        startServer();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bramblewick_bench: %s\n", error.what());
        return 1;
    }
    Sandbox sandbox(1, benchArgv);
    sandbox.initVideo();
    sandbox.initGraphics();
    sandbox.initPhysics();

    if (options.profile) {
        const double drift = bench::profileScene(sandbox, scenes.front(), options.settings);
        sandbox.destroyPhysics();
        std::printf("profiled %d passes of %s, sandbox then floor; drift %.3g\n",
                    options.settings.passes, scenes.front().name.c_str(), drift);
        return 0;
    }

    std::vector<bench::SceneResult> results;
    for (const bench::Scene& scene : scenes) {
        std::fprintf(stderr, "%s...\n", scene.name.c_str());
        results.push_back(bench::measureScene(sandbox, scene, options.settings));
    }
    sandbox.destroyPhysics();

    bench::printTable(results, options.settings);
    if (!bench::writeCsv(results, options.settings, options.csv)) {
        std::fprintf(stderr, "bramblewick_bench: cannot write %s\n", options.csv.c_str());
        return 1;
    }
    std::printf("\nCSV: %s\n", options.csv.c_str());
    return 0;
}
