// Times the sandbox's passes over the standard scenes, drawing in its real
// window on a private X server; prints a table and writes it as CSV. See
// README.md.

#include "longest_step.h"
#include "measure.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::Levels;
using bench::Scene;

constexpr int kPasses = 60;         // timed passes per scene
constexpr int kCameraFrames = 600;  // the camera trails the tool: then it is within 1 %

const char* const kUsage =
    "usage: bramblewick_bench [--scene NAME]... [--levels MIN:MAX]... [--passes N]\n"
    "                         [--csv PATH] [--profile] [--longest-step]\n";

struct Options {
    std::vector<const Scene*> scenes;           // default: all
    std::vector<std::optional<Levels>> levels;  // default: the program's own
    int passes = kPasses;
    std::string csv = "bramblewick_bench.csv";
    bool profile = false;      // untimed passes of the first scene, for callgrind
    bool longestStep = false;  // the soft structures given one long step each, untimed
};

[[noreturn]] void usageError(const std::string& problem) {
    std::fprintf(stderr, "bramblewick_bench: %s\n%s", problem.c_str(), kUsage);
    std::exit(2);
}

const Scene* findScene(const std::string& name) {
    for (const Scene& scene : bench::standardScenes()) {
        if (name == scene.name) return &scene;
    }
    usageError("no scene called " + name);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--profile" || option == "--longest-step") {
            (option == "--profile" ? options.profile : options.longestStep) = true;
            continue;
        }
        const char* value = ++i < argc ? argv[i] : "";
        Levels levels{};
        char extra;
        if (option == "--scene") {
            options.scenes.push_back(findScene(value));
        } else if (option == "--levels" &&
                   std::sscanf(value, "%d:%d%c", &levels.min, &levels.max, &extra) == 2) {
            options.levels.push_back(levels);
        } else if (option == "--passes" && std::atoi(value) > 0) {
            options.passes = std::atoi(value);
        } else if (option == "--csv" && *value != '\0') {
            options.csv = value;
        } else {
            usageError("cannot take " + option + " " + value);
        }
    }
    if (options.scenes.empty()) {
        for (const Scene& scene : bench::standardScenes()) options.scenes.push_back(&scene);
    }
    if (options.levels.empty()) options.levels.push_back(std::nullopt);
    return options;
}

char programName[] = "bramblewick_bench";
char* sandboxArgv[] = {programName, nullptr};
// SDL_putenv is the C library's putenv where there is one, which keeps this
// very string in the environment: it must stay writable and alive.
char dummyAudio[] = "SDL_AUDIODRIVER=dummy";

}  // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);
    std::FILE* csv = options.profile ? nullptr : std::fopen(options.csv.c_str(), "w");
    if (!options.profile && csv == nullptr) {
        std::fprintf(stderr, "bramblewick_bench: cannot write %s\n", options.csv.c_str());
        return 1;
    }
    SDL_putenv(dummyAudio);
    Sandbox sandbox(1, sandboxArgv);
    sandbox.initVideo();
    sandbox.initGraphics();
    sandbox.initPhysics();
    for (int i = 0; i < kCameraFrames; ++i) sandbox.render();  // and the GL driver warms up

    if (options.profile) {
        bench::profileScene(sandbox, *options.scenes[0], options.levels[0], options.passes);
        return 0;
    }
    if (options.longestStep) {
        bench::measureLongestStep(sandbox, csv);
        return std::fclose(csv) == 0 ? 0 : 1;
    }
    std::printf(
        "%d passes of 1/60 s per scene once it has landed; medians and mean step, process CPU "
        "ms\n\n",
        options.passes);
    std::printf("%-13s %-7s %7s %8s %8s %8s %8s %9s %8s\n", "scene", "levels", "objects", "spawn",
                "step", "render", "pass", "mean step", "slowest");
    std::fprintf(csv,
                 "scene,levels,objects,passes,spawn_ms,step_ms,render_ms,pass_ms,mean_step_ms,"
                 "slowest_pass_ms\n");
    for (const Scene* scene : options.scenes) {
        for (const bench::SceneResult& r :
             bench::measureScene(sandbox, *scene, options.levels, options.passes)) {
            std::printf("%-13s %3d:%-3d %7d %8.2f %8.2f %8.2f %8.2f %9.2f %8.2f\n", scene->name,
                        r.levels.min, r.levels.max, r.objects, r.spawn, r.step, r.render, r.pass,
                        r.meanStep, r.slowest);
            std::fprintf(csv, "%s,%d:%d,%d,%d,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f\n", scene->name,
                         r.levels.min, r.levels.max, r.objects, options.passes, r.spawn, r.step,
                         r.render, r.pass, r.meanStep, r.slowest);
        }
        std::fflush(stdout);
    }
    return std::fclose(csv) == 0 ? 0 : 1;
}
