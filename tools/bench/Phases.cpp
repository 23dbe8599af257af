#include "tools/bench/Phases.h"

#include "app/FrameLoop.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "app/Startup.h"
#include "tools/bench/AllocationCounter.h"
#include "tools/bench/PassTimer.h"
#include "tools/bench/MatchScript.h"
#include "tools/bench/SceneCapture.h"
#include "tools/bench/ScriptedPlay.h"
#include "tools/bench/Statistics.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iomanip>
#include <iostream>
#include <sstream>

namespace {

constexpr unsigned kScriptSeed = 20240601;  // the boss's choices repeat from run to run
constexpr std::size_t kMaxFramesPerSecond = 1000;  // frames past it go unrecorded
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

// Where a phase opens: on the title, as the game does, or straight into a match (its
// countdown first), as --difficulty does.
enum class Opening { Title, Match };

// The window and the scene as the game builds them.
bool startScene(const PhaseOptions& options, Scene& scene, Opening opening) {
    applyToSettings(options, true);
    if (!startWindowAndContext()) return false;
    printRenderer();
    if (opening == Opening::Match) menus.startAt(Difficulty::Normal);
    setUpScene(scene);
    return true;
}

// One loop pass, every match the script starts seeded alike before its first step, so
// that the boss's choices repeat from run to run.
void scriptedPass(Scene& scene, LoopState& state) {
    if (game.stepCount() == 0) game.seedMatch(kScriptSeed);
    runOnePass(scene, state);
}

// The resident size with the scene drawn at full size for two frames, the render scale put
// back after. The targets follow the scale, some 7 MB apart between 0.6 and 1.0 at 800 x
// 800, so readings taken at whatever scale the automatic control stood at would not
// compare like with like.
double residentMegabytesAtFullSize(Scene& scene, LoopState& state) {
    const RenderScaleController kept = state.renderScale;
    state.renderScale = RenderScaleController(false, 1.0f);
    for (const std::uint64_t drawn = state.framesDrawn; state.framesDrawn < drawn + 2;)
        scriptedPass(scene, state);
    const double megabytes = residentMegabytes();
    state.renderScale = kept;
    postProcessing->setScale(kept.scale());
    return megabytes;
}

std::vector<double> milliseconds(const std::vector<float>& seconds) {
    std::vector<double> values;
    for (const float value : seconds) values.push_back(1000.0 * value);
    return values;
}

// One phase's figures, each key led by the phase's name ("end_loss.median_ms").
void addPassTimes(ResultLine& result, const std::string& prefix,
                  const std::vector<SteppedFrame>& frames, std::uint8_t label) {
    for (std::size_t pass = 0; pass < kFramePassCount; ++pass) {
        std::vector<double> cpu;
        std::vector<double> gpu;
        for (const SteppedFrame& frame : frames) {
            if (frame.label != label) continue;
            cpu.push_back(1000.0 * frame.cpu[pass]);
            gpu.push_back(1000.0 * frame.gpu[pass]);
        }
        const FramePass step = static_cast<FramePass>(pass);
        result.add(prefix + "cpu_" + stepName(step), mean(cpu));
        if (drawsOnGpu(step)) result.add(prefix + "gpu_" + stepName(step), mean(gpu));
    }
}

void addAllocations(ResultLine& result, const std::string& prefix, const AllocationTotals& totals,
                    std::uint64_t frames) {
    const double count = std::max<double>(1.0, static_cast<double>(frames));
    result.add(prefix + "new_per_frame", static_cast<double>(totals.count.operatorNew) / count)
        .add(prefix + "new_main_per_frame", static_cast<double>(totals.count.mainThreadNew) / count)
        .add(prefix + "bullet_per_frame", static_cast<double>(totals.count.bullet) / count)
        .add(prefix + "frames_allocating", static_cast<double>(totals.framesThatAllocated))
        .add(prefix + "most_in_a_frame", static_cast<double>(totals.mostInOneFrame));
}

// How many passes drew at each render scale, in whole steps: counting needs no storage.
class ScaleHistogram {
public:
    void add(float scale) { ++counts[slot(scale)]; }
    double least() const {
        for (std::size_t i = 0; i < counts.size(); ++i)
            if (counts[i] > 0) return scaleOf(i);
        return 0.0;
    }
    double median() const {
        std::uint64_t total = 0;
        for (const std::uint64_t count : counts) total += count;
        std::uint64_t seen = 0;
        for (std::size_t i = 0; i < counts.size(); ++i) {
            seen += counts[i];
            if (2 * seen >= total && total > 0) return scaleOf(i);
        }
        return 0.0;
    }

private:
    static constexpr std::size_t kSlots = 21;  // 0, 0.05, ..., 1
    static std::size_t slot(float scale) {
        return std::min(kSlots - 1, static_cast<std::size_t>(std::lround(scale / 0.05f)));
    }
    static double scaleOf(std::size_t slot) { return 0.05 * static_cast<double>(slot); }
    std::array<std::uint64_t, kSlots> counts{};
};

}  // namespace

std::string residentSizeKey(float seconds) {
    return "rss_" + std::to_string(static_cast<int>(seconds)) + "s_mb";
}

namespace {

// A plain clear+swap program's window: GLFW's default buffers, depth and stencil included,
// whatever the game's own window leaves out, so that the floor stays the same yardstick
// from one version of the game to the next.
GLFWwindow* openFloorWindow() {
    if (!glfwInit()) return nullptr;
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_SAMPLES, settings.samples);
    GLFWwindow* floorWindow =
        glfwCreateWindow(settings.width, settings.height, "Qex floor", nullptr, nullptr);
    if (!floorWindow) return nullptr;
    glfwMakeContextCurrent(floorWindow);
    glfwSwapInterval(0);
    return floorWindow;
}

}  // namespace

int runFloorPhase(const PhaseOptions& options) {
    applyToSettings(options, false);
    GLFWwindow* const floorWindow = openFloorWindow();
    if (!floorWindow) {
        glfwTerminate();
        return kStartupFailed;
    }
    printRenderer();
    std::vector<double> frames;
    frames.reserve(static_cast<std::size_t>(options.seconds + 1.0f) * kMaxFramesPerSecond);
    const double start = now();
    double last = start;
    while (now() - start < options.seconds) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(floorWindow);
        glfwPollEvents();
        const double t = now();
        if (t - start >= options.warmup) frames.push_back(1000.0 * (t - last));
        last = t;
    }
    ResultLine().add("frames", static_cast<double>(frames.size())).add("median_ms", median(frames)).print();
    glfwDestroyWindow(floorWindow);
    glfwTerminate();
    return 0;
}

namespace {

// The frames of one phase of the scripted match, as figures on the result line.
void addPhase(ResultLine& result, const PassTimer& timer, const ScaleHistogram& scales,
              const char* phase) {
    const std::uint8_t label = MatchScript::labelOf(phase);
    std::vector<double> intervals;
    for (std::size_t i = 0; i < timer.intervals().size(); ++i)
        if (timer.labels()[i] == label) intervals.push_back(1000.0 * timer.intervals()[i]);
    std::uint64_t frames = intervals.size();
    for (const SteppedFrame& frame : timer.steppedFrames()) frames += frame.label == label ? 1 : 0;
    if (frames == 0) return;
    const std::string prefix = std::string(phase) + ".";
    result.add(prefix + "frames", static_cast<double>(frames))
        .add(prefix + "median_ms", median(intervals))
        .add(prefix + "p95_ms", percentile(intervals, 0.95))
        .add(prefix + "p99_ms", percentile(intervals, 0.99))
        .add(prefix + "render_scale_median", scales.median())
        .add(prefix + "render_scale_least", scales.least());
    addPassTimes(result, prefix, timer.steppedFrames(), label);
    addAllocations(result, prefix, timer.allocations(label), frames);
}

}  // namespace

int runGamePhase(const PhaseOptions& options) {
    Scene scene;
    if (!startScene(options, scene, Opening::Title)) return kStartupFailed;

    PassTimer timer(static_cast<std::size_t>(options.seconds + 1.0f) * kMaxFramesPerSecond,
                    kStepTimingEvery);
    LoopState state = startLoop(scene);
    state.probe = &timer;
    state.uncapped = options.uncapped;
    ScriptedPlay play;
    MatchScript script;
    double playedThrough = 0.0;  // whole scripts played
    countAllocations();

    const double start = now();
    double cpuAtWarmupEnd = 0.0;
    bool warm = false;
    std::array<double, 8> rss{};
    std::size_t rssTaken = 0;
    std::array<ScaleHistogram, MatchScript::kMostPhases> scales{};
    while (now() - start < options.seconds) {
        const double elapsed = now() - start;
        if (!warm && elapsed >= options.warmup) {
            warm = true;
            timer.restart();
            cpuAtWarmupEnd = mainThreadCpuSeconds();
        }
        if (rssTaken < std::min(options.rssAt.size(), rss.size()) && elapsed >= options.rssAt[rssTaken])
            rss[rssTaken++] = residentMegabytesAtFullSize(scene, state);
        const double cycle = std::floor(elapsed / MatchScript::totalSeconds());
        if (cycle != playedThrough) script = MatchScript();  // a long run plays it again
        playedThrough = cycle;
        const float scriptSeconds = static_cast<float>(elapsed - cycle * MatchScript::totalSeconds());
        const ScriptRow& row = script.follow(game, toggles, scriptSeconds);
        timer.setLabel(script.label());
        play.drive(*buttons, game, static_cast<float>(elapsed), row.keepBothAlive);
        scriptedPass(scene, state);
        if (warm) scales[script.label()].add(state.renderScale.scale());
    }
    const double measuredSeconds = std::max(1e-3, now() - start - options.warmup);
    const double cpuShare = (mainThreadCpuSeconds() - cpuAtWarmupEnd) / measuredSeconds;
    const double rssAtEnd = residentMegabytes();

    ResultLine result;
    result.add("cost_median_ms", median(milliseconds(timer.costs())))
        .add("cpu_share", cpuShare)
        .add("rss_end_mb", rssAtEnd);
    for (std::size_t i = 0; i < rssTaken; ++i)
        result.add(residentSizeKey(options.rssAt[i]), rss[i]);
    for (const ScriptRow& row : MatchScript::rows())
        if (MatchScript::labelOf(row.phase) == &row - MatchScript::rows().data())
            addPhase(result, timer, scales[MatchScript::labelOf(row.phase)], row.phase);
    result.print();

    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}

namespace {

constexpr float kSettleSeconds = 1.5f;  // paused: the shake settles

void runFor(Scene& scene, LoopState& state, double seconds) {
    const double until = now() + seconds;
    while (now() < until) runOnePass(scene, state);
}

// The next frame drawn at `scale`, read back after a few frames at that size.
std::vector<std::uint8_t> sceneAt(Scene& scene, LoopState& state, SceneCapture& capture, float scale) {
    state.renderScale = RenderScaleController(false, scale);
    for (int frame = 0; frame < 4; ++frame) runOnePass(scene, state);
    capture.arm();
    while (!capture.taken()) runOnePass(scene, state);
    return capture.pixels();
}

// Every loop pass draws a frame, and `capture` sees each one.
LoopState startCapturingLoop(Scene& scene, SceneCapture& capture) {
    LoopState state = startLoop(scene);
    state.probe = &capture;
    state.uncapped = true;
    return state;
}

}  // namespace

int runSharpnessPhase(const PhaseOptions& options) {
    Scene scene;
    if (!startScene(options, scene, Opening::Match)) return kStartupFailed;
    SceneCapture capture(options.width, options.height);
    LoopState state = startCapturingLoop(scene, capture);
    ScriptedPlay play;
    const double start = now();
    while (now() - start < options.seconds) {
        play.drive(*buttons, game, static_cast<float>(now() - start), true);
        scriptedPass(scene, state);
    }
    buttons->paused = true;  // no step is taken: the scene holds still to be drawn again
    runFor(scene, state, kSettleSeconds);
    const std::vector<std::uint8_t> full = sceneAt(scene, state, capture, 1.0f);
    ResultLine result;
    for (const float scale : {0.7f, 0.5f, 1.0f}) {
        std::ostringstream key;
        key << "mad_" << std::fixed << std::setprecision(2) << scale;
        result.add(key.str(), SceneCapture::meanAbsoluteDifference(full, sceneAt(scene, state, capture, scale)));
    }
    result.print();
    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}

int runShotsPhase(const PhaseOptions& options) {
    Scene scene;
    if (!startScene(options, scene, Opening::Title)) return kStartupFailed;
    SceneCapture capture(options.width, options.height);
    LoopState state = startCapturingLoop(scene, capture);
    ScriptedPlay play;
    MatchScript script;
    const double start = now();
    for (const float at : options.shotsAt) {
        bool armed = false;
        while (!armed || !capture.taken()) {
            const float seconds = static_cast<float>(now() - start);
            if (!armed && seconds >= at) {
                capture.arm();
                armed = true;
            }
            play.drive(*buttons, game, seconds, script.follow(game, toggles, seconds).keepBothAlive);
            scriptedPass(scene, state);
        }
        const std::string path = options.shotPrefix + "-" + std::to_string(static_cast<int>(at)) + ".png";
        std::cout << (capture.writePng(path.c_str()) ? "wrote " : "could not write ") << path << std::endl;
    }
    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}
