#pragma once

#include "app/FramePass.h"
#include "tools/bench/AllocationCounter.h"

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

/// A drawn frame timed step by step.
struct SteppedFrame {
    std::array<float, kFramePassCount> cpu{};  ///< wall time of each step, seconds
    std::array<float, kFramePassCount> gpu{};  ///< GL timer query per drawing step; 0 elsewhere
    std::uint8_t label = 0;                    ///< the phase of the match it was drawn in
};

/// Heap allocations over the frames recorded. The frames that allocated, and the most in
/// one, count the main thread's blocks: the frame's own, not those of a thread working
/// beside it (the disk thread, the renderer's).
struct AllocationTotals {
    AllocationCount count;
    std::uint64_t framesThatAllocated = 0;
    std::uint64_t mostInOneFrame = 0;
};

/// Times the game's loop from inside, per drawn frame: its interval and cost, and the heap
/// allocations made. One frame in `stepEvery` is timed step by step: the renderer is made
/// to finish at every step boundary, so each step's wall time holds all of its work (a
/// software renderer draws on other threads, long after the call) and its GL timer query
/// spans that step alone. Those frames lose the overlap of the steps and are kept out of
/// the intervals and costs.
///
/// Every frame carries the label set last (a phase of the scripted match), so that the
/// figures can be split by phase; labels are below kLabels.
///
/// Storage for `capacity` frames is taken and touched up front, so that recording neither
/// allocates nor grows the resident size; frames past it are not recorded.
/// Needs a current GL context.
class PassTimer final : public FramePassProbe {
public:
    PassTimer(std::size_t capacity, std::size_t stepEvery);
    ~PassTimer() override;
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    static constexpr std::size_t kLabels = 16;

    void enter(FramePass pass) override;
    /// Forgets everything recorded so far, e.g. at the end of a warm-up.
    void restart();
    /// The label of the frames drawn from now on.
    void setLabel(std::uint8_t phaseLabel) { label = phaseLabel; }

    const std::vector<float>& intervals() const { return frameIntervals; }  ///< seconds
    const std::vector<float>& costs() const { return frameCosts; }  ///< seconds, idle left out
    const std::vector<std::uint8_t>& labels() const { return frameLabels; }  ///< one per interval
    const std::vector<SteppedFrame>& steppedFrames() const { return stepped; }
    const AllocationTotals& allocations(std::uint8_t phaseLabel) const { return totals[phaseLabel]; }
    std::uint64_t framesDrawn() const { return frameCount; }

private:
    using Clock = std::chrono::steady_clock;

    bool timingSteps() const { return frameCount % stepEvery == 0; }
    void endStep(Clock::time_point at);
    void endFrame(Clock::time_point at);
    void countAllocationsOfFrame();
    void readQueries();

    std::vector<float> frameIntervals;
    std::vector<float> frameCosts;
    std::vector<std::uint8_t> frameLabels;
    std::vector<SteppedFrame> stepped;
    std::array<AllocationTotals, kLabels> totals{};
    std::uint8_t label = 0;
    std::uint64_t frameCount = 0;
    std::size_t stepEvery;
    std::array<GLuint, kFramePassCount> queries{};
    SteppedFrame current;
    FramePass step = FramePass::Idle;
    Clock::time_point stepStart;
    Clock::time_point lastFrameEnd;
    AllocationCount frameStartAllocations;
    bool queryOpen = false;
    bool drewThisPass = false;
    bool started = false;
};

/// Whether a step draws, and so gets a GL timer query.
bool drawsOnGpu(FramePass pass);
/// The step's name in the benchmark's figures, e.g. "landscape".
const char* stepName(FramePass pass);
