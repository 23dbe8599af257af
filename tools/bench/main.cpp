// The performance benchmark: the game's frame time against a clear+swap floor measured in
// the same run, the time of each step of a frame, heap allocations per frame, the resident
// size and the main thread's CPU share. Run it with tools/bench.sh, or from the build folder
// (it reads assets/) under a display:
//     ./qex_bench [--seconds 60] [--sizes 800x800,1280x720] [--long] [--game-samples 4]
// Each measurement runs as a child process of this executable ("--phase floor|game|sharpness").

#include "game/BulletBlockPool.h"
#include "tools/bench/Phases.h"
#include "tools/bench/Report.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <tuple>

namespace {

std::pair<int, int> parseSize(const std::string& text) {
    std::pair<int, int> size{0, 0};
    char separator = 0;
    std::istringstream(text) >> size.first >> separator >> size.second;
    return size;
}

std::vector<std::pair<int, int>> parseSizes(const std::string& text) {
    std::vector<std::pair<int, int>> sizes;
    std::istringstream list(text);
    std::string one;
    while (std::getline(list, one, ',')) sizes.push_back(parseSize(one));
    return sizes;
}

std::string executablePath() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : "qex_bench";
}

int usage() {
    std::cout << "usage: qex_bench [--seconds S] [--floor-seconds S] [--cpu-seconds S] [--warmup S]\n"
                 "                 [--sizes WxH,...] [--game-samples N] [--long]\n";
    return 2;
}

bool sizesValid(const std::vector<std::pair<int, int>>& sizes) {
    if (sizes.empty()) return false;
    for (const auto& [width, height] : sizes)
        if (width <= 0 || height <= 0) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    BulletBlockPool::install();
    std::string phase;
    PhaseOptions phaseOptions;
    BenchOptions bench;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        if (arg == "--long") {
            bench.longRun = true;
            continue;
        }
        if (arg == "--capped") {
            phaseOptions.uncapped = false;
            continue;
        }
        if (!hasValue) return usage();
        ++i;
        if (arg == "--phase") phase = value;
        else if (arg == "--size") std::tie(phaseOptions.width, phaseOptions.height) = parseSize(value);
        else if (arg == "--samples") {
            phaseOptions.samples = std::atoi(value.c_str());
            phaseOptions.gameSamplesFromSettings = false;
        } else if (arg == "--render-scale") phaseOptions.renderScale = value;
        else if (arg == "--refresh-rate") phaseOptions.refreshRate = std::atoi(value.c_str());
        else if (arg == "--rss-at") phaseOptions.rssAt.push_back(std::stof(value));
        else if (arg == "--shot-at") phaseOptions.shotsAt.push_back(std::stof(value));
        else if (arg == "--shot-prefix") phaseOptions.shotPrefix = value;
        else if (arg == "--seconds") phaseOptions.seconds = bench.playSeconds = std::stof(value);
        else if (arg == "--warmup") phaseOptions.warmup = bench.warmup = std::stof(value);
        else if (arg == "--floor-seconds") bench.floorSeconds = std::stof(value);
        else if (arg == "--cpu-seconds") bench.cpuSeconds = std::stof(value);
        else if (arg == "--sizes") bench.sizes = parseSizes(value);
        else if (arg == "--game-samples") bench.gameSamples = std::atoi(value.c_str());
        else return usage();
    }
    if (phase == "floor") return runFloorPhase(phaseOptions);
    if (phase == "game") return runGamePhase(phaseOptions);
    if (phase == "sharpness") return runSharpnessPhase(phaseOptions);
    if (phase == "shots") return runShotsPhase(phaseOptions);
    if (!phase.empty() || !sizesValid(bench.sizes)) return usage();
    return runBenchmark(executablePath(), bench);
}
