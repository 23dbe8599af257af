#pragma once

#include "app/FramePass.h"
#include "tools/bench/AllocationCounter.h"

#include <GL/glew.h>

#include <array>
#include <chrono>
#include <vector>

/// One drawn frame as the benchmark saw it.
struct FrameRecord {
    float seconds = 0.0f;  ///< from the end of the previous drawn frame to the end of this one
    float cost = 0.0f;     ///< wall time of the loop's steps, idle time left out
    bool stepped = false;  ///< timed step by step: the figures below hold, `seconds` does not
    std::array<float, kFramePassCount> cpu{};  ///< wall time of each step on the main thread
    std::array<float, kFramePassCount> gpu{};  ///< GL timer query per drawing step; 0 elsewhere
    AllocationCount allocations;               ///< made during this frame's passes
};

/// Times the game's loop from inside, per drawn frame: its interval and cost, and the heap
/// allocations made. One frame in `stepEvery` is timed step by step: the renderer is made
/// to finish at every step boundary, so each step's wall time holds all of its work (a
/// software renderer draws on other threads, long after the call) and its GL timer query
/// spans that step alone. Those frames lose the overlap of the steps and are kept out of
/// the frame-time figures.
///
/// Storage for `capacity` frames is taken up front: recording allocates nothing.
/// Needs a current GL context.
class PassTimer final : public FramePassProbe {
public:
    PassTimer(std::size_t capacity, std::size_t stepEvery);
    ~PassTimer() override;
    PassTimer(const PassTimer&) = delete;
    PassTimer& operator=(const PassTimer&) = delete;

    void enter(FramePass pass) override;

    /// Frames recorded so far, oldest first.
    const std::vector<FrameRecord>& frames() const { return records; }

private:
    using Clock = std::chrono::steady_clock;

    bool timingSteps() const { return records.size() % stepEvery == 0; }
    void endStep(Clock::time_point at);
    void endFrame(Clock::time_point at);
    void readQueries();

    std::vector<FrameRecord> records;
    std::size_t stepEvery;
    std::array<GLuint, kFramePassCount> queries{};
    FrameRecord current;
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
