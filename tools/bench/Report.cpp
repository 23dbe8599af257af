#include "tools/bench/Report.h"

#include "app/FramePass.h"
#include "tools/bench/PassTimer.h"
#include "tools/bench/MatchScript.h"
#include "tools/bench/Phases.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

namespace {

using Figures = std::map<std::string, double>;

struct PhaseOutput {
    Figures figures;
    std::string renderer;
    int openGlErrors = 0;
    bool complete = false;
};


std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string oneMinute;
    file >> oneMinute;
    return oneMinute;
}

Figures parseFigures(const std::string& line) {
    Figures figures;
    std::istringstream words(line.substr(std::string("RESULT").size()));
    std::string word;
    while (words >> word) {
        const std::size_t equals = word.find('=');
        if (equals != std::string::npos)
            figures[word.substr(0, equals)] = std::stod(word.substr(equals + 1));
    }
    return figures;
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The child's own messages pass through, so a warning or a GL error is seen where it happened.
PhaseOutput runPhase(const std::string& command) {
    PhaseOutput output;
    FILE* child = popen(command.c_str(), "r");
    if (!child) return output;
    char buffer[1 << 16];  // a result line holds every phase's figures
    while (std::fgets(buffer, sizeof(buffer), child)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        if (startsWith(line, "RESULT")) {
            output.figures = parseFigures(line);
            output.complete = true;
        } else if (startsWith(line, "RENDERER ")) {
            output.renderer = line.substr(9);
        } else {
            if (startsWith(line, "OpenGL Error:")) ++output.openGlErrors;
            std::cout << "    | " << line << '\n';
        }
    }
    output.complete = (pclose(child) == 0) && output.complete;
    return output;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string phaseCommand(const std::string& self, const char* phase, const PhaseOptions& o) {
    std::ostringstream command;
    command << quoted(self) << " --phase " << phase << " --size " << o.width << 'x' << o.height
            << " --seconds " << o.seconds << " --warmup " << o.warmup << " --refresh-rate "
            << o.refreshRate;
    if (!o.uncapped) command << " --capped";
    if (!o.gameSamplesFromSettings || std::string(phase) == "floor") command << " --samples " << o.samples;
    if (!o.renderScale.empty()) command << " --render-scale " << o.renderScale;
    for (float seconds : o.rssAt) command << " --rss-at " << seconds;
    return command.str();
}

PhaseOptions floorOptions(int width, int height, int samples, const BenchOptions& bench) {
    PhaseOptions o;
    o.width = width;
    o.height = height;
    o.samples = samples;
    o.seconds = bench.floorSeconds;
    o.warmup = 1.0f;
    return o;
}

PhaseOptions gameOptions(int width, int height, const std::string& renderScale, float seconds,
                         const BenchOptions& bench) {
    PhaseOptions o;
    o.width = width;
    o.height = height;
    o.renderScale = renderScale;
    o.seconds = seconds;
    o.warmup = std::min(bench.warmup, seconds / 2.0f);  // a short run keeps half its frames
    if (bench.gameSamples >= 0) {
        o.gameSamplesFromSettings = false;
        o.samples = bench.gameSamples;
    }
    return o;
}

double figure(const PhaseOutput& phase, const std::string& key) {
    const auto found = phase.figures.find(key);
    return found == phase.figures.end() ? 0.0 : found->second;
}

std::string fixed(double value, int decimals) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text + ' ' : text + std::string(width - text.size(), ' ');
}

void printTimeRow(const std::string& label, double medianMs, double p95Ms, double floorMs) {
    std::cout << "  " << padded(label, 36) << padded(fixed(medianMs, 2), 11)
              << padded(p95Ms > 0.0 ? fixed(p95Ms, 2) : "", 9)
              << padded(medianMs > 0.0 ? fixed(1000.0 / medianMs, 1) : "", 8)
              << (floorMs > 0.0 ? fixed(medianMs / floorMs, 2) : "") << '\n';
}

// The distinct phases of the scripted match, in order of first appearance.
std::vector<std::string> phaseNames() {
    std::vector<std::string> names;
    for (const ScriptRow& row : MatchScript::rows())
        if (std::find(names.begin(), names.end(), row.phase) == names.end()) names.push_back(row.phase);
    return names;
}

void printPhaseRow(const std::string& label, const PhaseOutput& game, const std::string& phase,
                   double floorMs) {
    const auto get = [&](const char* key) { return figure(game, phase + "." + key); };
    if (!game.complete || get("frames") <= 0.0) {
        std::cout << "  " << padded(label, 24) << "not measured\n";
        return;
    }
    const double medianMs = get("median_ms");
    std::cout << "  " << padded(label, 24) << padded(fixed(medianMs, 2), 9) << padded(fixed(get("p95_ms"), 2), 9)
              << padded(fixed(get("p99_ms"), 2), 9)
              << padded(fixed(1000.0 / medianMs, 0) + " / " + fixed(1000.0 / get("p95_ms"), 0), 11)
              << padded(floorMs > 0.0 ? fixed(medianMs / floorMs, 2) : "", 8)
              << padded(fixed(get("render_scale_median"), 2), 7) << padded(fixed(get("new_per_frame"), 3), 8)
              << padded(fixed(get("frames_allocating"), 0) + " of " + fixed(get("frames"), 0), 16)
              << fixed(get("bullet_per_frame"), 2) << '\n';
}

void printSteps(const PhaseOutput& automatic, const PhaseOutput& full) {
    const std::vector<std::string> phases = phaseNames();
    std::cout << "  steps of a frame, mean wall ms over the frames timed step by step (the renderer\n"
                 "  finishing each step); defaults per phase, then the fight at render_scale 1.0\n"
              << "  " << padded("", 12);
    for (const std::string& phase : phases) std::cout << padded(phase, 10);
    std::cout << "fight@1.0\n";
    for (std::size_t pass = 0; pass < kFramePassCount; ++pass) {
        const FramePass step = static_cast<FramePass>(pass);
        if (step == FramePass::Idle) continue;
        const std::string key = std::string(".cpu_") + stepName(step);
        std::cout << "    " << padded(stepName(step), 10);
        for (const std::string& phase : phases) std::cout << padded(fixed(figure(automatic, phase + key), 2), 10);
        std::cout << fixed(figure(full, "fight" + key), 2) << '\n';
    }
}

void measureSize(const std::string& self, int width, int height, const BenchOptions& bench) {
    std::cout << "\n== " << width << "x" << height << " (load average " << loadAverage() << ")\n";
    std::vector<PhaseOutput> floors4;
    std::vector<PhaseOutput> floors0;
    const auto measureFloors = [&] {
        floors4.push_back(runPhase(phaseCommand(self, "floor", floorOptions(width, height, 4, bench))));
        floors0.push_back(runPhase(phaseCommand(self, "floor", floorOptions(width, height, 0, bench))));
    };
    measureFloors();
    const PhaseOutput automatic =
        runPhase(phaseCommand(self, "game", gameOptions(width, height, "auto", bench.playSeconds, bench)));
    const std::string loadAfterMatch = loadAverage();
    measureFloors();
    const PhaseOutput full =
        runPhase(phaseCommand(self, "game", gameOptions(width, height, "1.0", bench.fullScaleSeconds, bench)));
    measureFloors();
    PhaseOptions capped = gameOptions(width, height, "auto", bench.cpuSeconds, bench);
    capped.uncapped = false;
    const PhaseOutput cpu = runPhase(phaseCommand(self, "game", capped));
    const PhaseOutput sharpness = runPhase(phaseCommand(self, "sharpness", gameOptions(width, height, "1.0", 8.0f, bench)));

    const auto mean = [](double a, double b) { return (a + b) / 2.0; };
    const double floorAuto = mean(figure(floors4[0], "median_ms"), figure(floors4[1], "median_ms"));
    const double floorFull = mean(figure(floors4[1], "median_ms"), figure(floors4[2], "median_ms"));
    double floor4 = 0.0;
    double floor0 = 0.0;
    for (std::size_t i = 0; i < floors4.size(); ++i) {
        floor4 += figure(floors4[i], "median_ms") / static_cast<double>(floors4.size());
        floor0 += figure(floors0[i], "median_ms") / static_cast<double>(floors0.size());
    }

    std::cout << "  renderer: " << floors4[0].renderer << "; load average after the match " << loadAfterMatch
              << "\n\n  " << padded("", 36) << padded("median ms", 11) << padded("", 17)
              << "x floor (4x, same run)\n";
    printTimeRow("clear+swap, 4x multisampled", floor4, 0.0, floor4);
    printTimeRow("clear+swap, no multisampling", floor0, 0.0, floor4);
    std::cout << "\n  " << padded("phase (ms a frame)", 24) << padded("median", 9) << padded("p95", 9)
              << padded("p99", 9) << padded("fps", 11) << padded("x floor", 8) << padded("scale", 7)
              << padded("new/fr", 8) << padded("frames with new", 16) << "Bullet/fr\n";
    for (const std::string& phase : phaseNames()) printPhaseRow(phase, automatic, phase, floorAuto);
    printPhaseRow("fight, render_scale 1.0", full, "fight", floorFull);
    std::cout << '\n';
    printSteps(automatic, full);
    std::cout << "\n  main-thread CPU, uncapped: defaults " << fixed(100.0 * figure(automatic, "cpu_share"), 0)
              << "%, render_scale 1.0 " << fixed(100.0 * figure(full, "cpu_share"), 0) << "%\n"
              << "  capped at 60 (defaults): main-thread CPU " << fixed(100.0 * figure(cpu, "cpu_share"), 0)
              << "% of a core, frame cost median " << fixed(figure(cpu, "cost_median_ms"), 2) << " ms\n"
              << "  resident size at the end of the run: defaults " << fixed(figure(automatic, "rss_end_mb"), 1)
              << " MB, render_scale 1.0 " << fixed(figure(full, "rss_end_mb"), 1) << " MB\n"
              << "  picture against render_scale 1.0, mean absolute difference (0-255): at 0.7 "
              << fixed(figure(sharpness, "mad_0.70"), 2) << ", at 0.5 " << fixed(figure(sharpness, "mad_0.50"), 2)
              << ", 1.0 drawn again " << fixed(figure(sharpness, "mad_1.00"), 2) << '\n';
    int errors = automatic.openGlErrors + full.openGlErrors + cpu.openGlErrors + sharpness.openGlErrors;
    std::cout << "  OpenGL errors reported by the game: " << errors << std::endl;
}

// The resident size is read at the same moment of each pass of the scripted match, the
// last second of its lose screen, with the scene drawn at full size: what the game holds
// differs from phase to phase by a few megabytes (targets resized with the scale, the
// smoke), so only readings taken at the same moment and scale show what the matches and
// restarts between them left behind.
void measureLongRun(const std::string& self, const BenchOptions& bench) {
    const auto [width, height] = bench.sizes.front();
    constexpr int kPasses = 4;  // a little over five minutes of matches and restarts
    const float pass = MatchScript::totalSeconds();
    const float moment = MatchScript::endOf("end_loss") - 1.0f;
    PhaseOptions o = gameOptions(width, height, "auto", (kPasses - 1) * pass + moment + 2.0f, bench);
    for (int i = 0; i < kPasses; ++i) o.rssAt.push_back(static_cast<float>(i) * pass + moment);
    std::cout << "\n== resident size over " << kPasses << " passes of the scripted match at " << width << "x"
              << height << ", defaults\n";
    const PhaseOutput run = runPhase(phaseCommand(self, "game", o));
    std::cout << "  at the end of each pass's lose screen, drawn at full size:";
    for (const float seconds : o.rssAt) std::cout << ' ' << fixed(figure(run, residentSizeKey(seconds)), 1);
    const double growth =
        figure(run, residentSizeKey(o.rssAt.back())) - figure(run, residentSizeKey(o.rssAt.front()));
    std::cout << " MB: growth " << fixed(growth, 2) << " MB over "
              << fixed((o.rssAt.back() - o.rssAt.front()) / 60.0f, 1) << " minutes\n"
              << "  allocations per frame over the run's fights: " << fixed(figure(run, "fight.new_per_frame"), 4)
              << ", end screens: " << fixed(figure(run, "end_loss.new_per_frame"), 4) << '\n';
}

}  // namespace

int runBenchmark(const std::string& self, const BenchOptions& options) {
    std::cout << "Qex benchmark: " << options.playSeconds << " s of scripted play per game run, "
              << options.warmup << " s warm-up left out. The game runs uncapped (a frame every\n"
              << "loop pass) unless said; its automatic render scale aims at the 60 Hz budget.\n";
    for (const auto& [width, height] : options.sizes) measureSize(self, width, height, options);
    if (options.longRun) measureLongRun(self, options);
    return 0;
}
