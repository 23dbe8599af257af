#include "tools/bench/Phases.h"

#include "app/FrameLoop.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "app/Startup.h"
#include "tools/bench/AllocationCounter.h"
#include "tools/bench/PassTimer.h"
#include "tools/bench/ScriptedPlay.h"
#include "tools/bench/Statistics.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace {

constexpr unsigned kScriptSeed = 20240601;  // the boss's choices repeat from run to run
constexpr std::size_t kMaxFramesPerSecond = 2000;
constexpr std::size_t kStepTimingEvery = 8;  // frames; one in so many is timed step by step

double now() { return glfwGetTime(); }

double mainThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Read with plain file calls: a stream would allocate inside the frame that asks.
double residentMegabytes() {
    char text[128] = {};
    const int file = open("/proc/self/statm", O_RDONLY);
    if (file < 0) return 0.0;
    const ssize_t length = read(file, text, sizeof(text) - 1);
    close(file);
    long pages = 0;
    long resident = 0;
    if (length <= 0 || std::sscanf(text, "%ld %ld", &pages, &resident) != 2) return 0.0;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void applyToSettings(const PhaseOptions& options, bool isGame) {
    settings = loadSettings();
    settings.width = options.width;
    settings.height = options.height;
    settings.refreshRate = options.refreshRate;
    if (!isGame || !options.gameSamplesFromSettings) settings.samples = options.samples;
    if (options.renderScale == "auto") {
        settings.autoRenderScale = true;
    } else if (!options.renderScale.empty()) {
        settings.autoRenderScale = false;
        settings.renderScale = std::stof(options.renderScale);
    }
}

class ResultLine {
public:
    ResultLine() { line << "RESULT" << std::fixed << std::setprecision(4); }
    ResultLine& add(const std::string& key, double value) {
        line << ' ' << key << '=' << value;
        return *this;
    }
    void print() { std::cout << line.str() << std::endl; }

private:
    std::ostringstream line;
};

void printRenderer() {
    std::cout << "RENDERER " << reinterpret_cast<const char*>(glGetString(GL_RENDERER)) << std::endl;
}

std::vector<double> milliseconds(const std::vector<FrameRecord>& frames, float FrameRecord::*field) {
    std::vector<double> values;
    for (const FrameRecord& frame : frames) values.push_back(1000.0 * frame.*field);
    return values;
}

void addPassTimes(ResultLine& result, const std::vector<FrameRecord>& frames) {
    for (std::size_t pass = 0; pass < kFramePassCount; ++pass) {
        std::vector<double> cpu;
        std::vector<double> gpu;
        for (const FrameRecord& frame : frames) {
            cpu.push_back(1000.0 * frame.cpu[pass]);
            gpu.push_back(1000.0 * frame.gpu[pass]);
        }
        const FramePass step = static_cast<FramePass>(pass);
        result.add(std::string("cpu_") + stepName(step), mean(cpu));
        if (drawsOnGpu(step)) result.add(std::string("gpu_") + stepName(step), mean(gpu));
    }
}

void addAllocations(ResultLine& result, const std::vector<FrameRecord>& frames) {
    std::uint64_t total = 0;
    std::uint64_t mainThread = 0;
    std::uint64_t bullet = 0;
    std::uint64_t most = 0;
    int framesThatAllocated = 0;
    for (const FrameRecord& frame : frames) {
        total += frame.allocations.operatorNew;
        mainThread += frame.allocations.mainThreadNew;
        bullet += frame.allocations.bullet;
        most = std::max(most, frame.allocations.operatorNew);
        if (frame.allocations.operatorNew > 0) ++framesThatAllocated;
    }
    const double count = std::max<double>(1.0, static_cast<double>(frames.size()));
    result.add("new_per_frame", static_cast<double>(total) / count)
        .add("new_main_per_frame", static_cast<double>(mainThread) / count)
        .add("bullet_per_frame", static_cast<double>(bullet) / count)
        .add("frames_allocating", framesThatAllocated)
        .add("most_in_a_frame", static_cast<double>(most));
}

}  // namespace

int runFloorPhase(const PhaseOptions& options) {
    applyToSettings(options, false);
    if (!startWindowAndContext()) return kStartupFailed;
    printRenderer();
    std::vector<double> frames;
    frames.reserve(static_cast<std::size_t>(options.seconds + 1.0f) * kMaxFramesPerSecond);
    const double start = now();
    double last = start;
    while (now() - start < options.seconds) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
        const double t = now();
        if (t - start >= options.warmup) frames.push_back(1000.0 * (t - last));
        last = t;
    }
    ResultLine().add("frames", static_cast<double>(frames.size())).add("median_ms", median(frames)).print();
    shutDownWindowAndContext();
    return 0;
}

int runGamePhase(const PhaseOptions& options) {
    applyToSettings(options, true);
    if (!startWindowAndContext()) return kStartupFailed;
    printRenderer();
    Scene scene;
    setUpScene(scene);
    std::srand(kScriptSeed);

    PassTimer timer(static_cast<std::size_t>(options.seconds + 1.0f) * kMaxFramesPerSecond,
                    kStepTimingEvery);
    LoopState state = startLoop(scene);
    state.probe = &timer;
    state.uncapped = options.uncapped;
    ScriptedPlay play;
    countAllocations();

    const double start = now();
    std::size_t firstCountedFrame = 0;
    double cpuAtWarmupEnd = 0.0;
    bool warm = false;
    std::vector<double> rss;
    rss.reserve(options.rssAt.size());
    std::vector<double> scales;
    scales.reserve(static_cast<std::size_t>(options.seconds + 1.0f) * kMaxFramesPerSecond);
    while (now() - start < options.seconds) {
        const double elapsed = now() - start;
        if (!warm && elapsed >= options.warmup) {
            warm = true;
            firstCountedFrame = timer.frames().size();
            cpuAtWarmupEnd = mainThreadCpuSeconds();
        }
        if (rss.size() < options.rssAt.size() && elapsed >= options.rssAt[rss.size()])
            rss.push_back(residentMegabytes());
        play.drive(*buttons, game, static_cast<float>(elapsed));
        runOnePass(scene, state);
        if (warm) scales.push_back(state.renderScale.scale());
    }
    const double measuredSeconds = now() - start - options.warmup;
    const double cpuShare = (mainThreadCpuSeconds() - cpuAtWarmupEnd) / measuredSeconds;
    const double rssAtEnd = residentMegabytes();

    const std::vector<FrameRecord> frames(timer.frames().begin() + static_cast<std::ptrdiff_t>(firstCountedFrame),
                                          timer.frames().end());
    std::vector<FrameRecord> whole;
    std::vector<FrameRecord> stepped;
    for (const FrameRecord& frame : frames) (frame.stepped ? stepped : whole).push_back(frame);
    ResultLine result;
    const std::vector<double> intervals = milliseconds(whole, &FrameRecord::seconds);
    const std::vector<double> costs = milliseconds(whole, &FrameRecord::cost);
    result.add("frames", static_cast<double>(frames.size()))
        .add("median_ms", median(intervals))
        .add("p95_ms", percentile(intervals, 0.95))
        .add("cost_median_ms", median(costs))
        .add("cpu_share", cpuShare)
        .add("render_scale", state.renderScale.scale())
        .add("render_scale_median", median(scales))
        .add("render_scale_least", percentile(scales, 0.0))
        .add("rss_end_mb", rssAtEnd);
    for (std::size_t i = 0; i < rss.size(); ++i)
        result.add("rss_" + std::to_string(static_cast<int>(options.rssAt[i])) + "s_mb", rss[i]);
    addPassTimes(result, stepped);
    addAllocations(result, frames);
    result.print();

    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}
