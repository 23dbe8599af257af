#include "tools/bench/PassTimer.h"

#include <algorithm>

namespace {

std::size_t indexOf(FramePass pass) { return static_cast<std::size_t>(pass); }

float secondsBetween(std::chrono::steady_clock::time_point from,
                     std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<float>(to - from).count();
}

AllocationCount operator-(const AllocationCount& later, const AllocationCount& earlier) {
    return {later.operatorNew - earlier.operatorNew, later.mainThreadNew - earlier.mainThreadNew,
            later.bullet - earlier.bullet};
}

// Reserved and written once, so that its pages are resident before the first frame.
template <typename T>
void takeUpFront(std::vector<T>& storage, std::size_t capacity) {
    storage.assign(capacity, T{});
    storage.clear();
}

template <typename T>
void recordIfRoom(std::vector<T>& storage, const T& value) {
    if (storage.size() < storage.capacity()) storage.push_back(value);
}

}  // namespace

bool drawsOnGpu(FramePass pass) {
    switch (pass) {
        case FramePass::Sky:
        case FramePass::Objects:
        case FramePass::Landscape:
        case FramePass::Sparks:
        case FramePass::Ending:
        case FramePass::Resolve:
        case FramePass::Hud:
            return true;
        default:
            return false;
    }
}

const char* stepName(FramePass pass) {
    static const char* const names[kFramePassCount] = {
        "events",  "physics", "camera",  "sky",     "objects", "landscape", "sparks",
        "ending",  "update",  "resolve", "hud",     "swap",      "idle"};
    return names[indexOf(pass)];
}

PassTimer::PassTimer(std::size_t capacity, std::size_t stepEveryFrames)
    : stepEvery(stepEveryFrames) {
    takeUpFront(frameIntervals, capacity);
    takeUpFront(frameCosts, capacity);
    takeUpFront(frameLabels, capacity);
    takeUpFront(stepped, capacity / stepEvery + 1);
    glGenQueries(static_cast<GLsizei>(queries.size()), queries.data());
}

PassTimer::~PassTimer() { glDeleteQueries(static_cast<GLsizei>(queries.size()), queries.data()); }

void PassTimer::restart() {
    frameIntervals.clear();
    frameCosts.clear();
    frameLabels.clear();
    stepped.clear();
    totals = {};
}

void PassTimer::enter(FramePass pass) {
    if (timingSteps()) glFinish();
    const Clock::time_point now = Clock::now();
    if (!started) {
        started = true;
        lastFrameEnd = now;
        frameStartAllocations = allocationsSoFar();
    } else {
        endStep(now);
    }
    if (pass == FramePass::Swap) drewThisPass = true;
    if (pass == FramePass::Idle && drewThisPass) endFrame(now);

    step = pass;
    stepStart = now;
    if (timingSteps() && drawsOnGpu(pass)) {
        glBeginQuery(GL_TIME_ELAPSED, queries[indexOf(pass)]);
        queryOpen = true;
    }
}

void PassTimer::endStep(Clock::time_point at) {
    if (queryOpen) glEndQuery(GL_TIME_ELAPSED);
    queryOpen = false;
    if (step != FramePass::Idle) current.cpu[indexOf(step)] += secondsBetween(stepStart, at);
}

void PassTimer::endFrame(Clock::time_point at) {
    drewThisPass = false;
    countAllocationsOfFrame();
    if (timingSteps()) {
        readQueries();
        current.label = label;
        recordIfRoom(stepped, current);
    } else {
        float cost = 0.0f;
        for (std::size_t i = 0; i < kFramePassCount; ++i)
            if (i != indexOf(FramePass::Idle)) cost += current.cpu[i];
        recordIfRoom(frameIntervals, secondsBetween(lastFrameEnd, at));
        recordIfRoom(frameCosts, cost);
        recordIfRoom(frameLabels, label);
    }
    lastFrameEnd = at;
    current = SteppedFrame{};
    ++frameCount;
}

void PassTimer::countAllocationsOfFrame() {
    const AllocationCount now = allocationsSoFar();
    const AllocationCount made = now - frameStartAllocations;
    frameStartAllocations = now;
    AllocationTotals& phase = totals[label];
    phase.count.operatorNew += made.operatorNew;
    phase.count.mainThreadNew += made.mainThreadNew;
    phase.count.bullet += made.bullet;
    if (made.mainThreadNew > 0) ++phase.framesThatAllocated;
    phase.mostInOneFrame = std::max(phase.mostInOneFrame, made.mainThreadNew);
}

// The renderer has just finished: every result is there without waiting.
void PassTimer::readQueries() {
    for (std::size_t i = 0; i < kFramePassCount; ++i) {
        if (!drawsOnGpu(static_cast<FramePass>(i))) continue;
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(queries[i], GL_QUERY_RESULT, &nanoseconds);
        current.gpu[i] = static_cast<float>(static_cast<double>(nanoseconds) * 1e-9);
    }
}
