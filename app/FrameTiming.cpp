#include "app/FrameTiming.h"

#include "game/MatchClock.h"

#include <algorithm>
#include <iomanip>
#include <utility>

namespace {

// How long the pass that stepped the physics at `passStart` may still sleep at `now`; 0
// when the next frame or physics step is no more than kSleepThreshold away. `accumulated`
// does not hold this pass yet, so the frame falls due at passStart + budget - accumulated.
// The physics must be stepped again within a sub-step, or a low refresh rate would let it
// fall behind.
float idleTime(const FrameTiming& timing, float passStart, float now, int refreshRate) {
    const float frameDueAt = passStart + FrameTiming::frameBudget(refreshRate) - timing.accumulated;
    const float physicsDueAt = passStart + MatchClock::kStep;
    const float nextDue = std::min(frameDueAt, physicsDueAt) - now;
    return nextDue > FrameTiming::kSleepThreshold ? nextDue - FrameTiming::kWakeEarly : 0.0f;
}

}  // namespace

FrameTiming::FrameTiming(Clock loopClock, Sleeper sleeper)
    : clock(std::move(loopClock)), sleep(std::move(sleeper)) {}

float FrameTiming::frameTime() const {
    return std::min(accumulated, MatchClock::kMaxStepsPerPass * MatchClock::kStep);
}

void FrameTiming::frameDrawn() {
    ++frameCount;
    accumulated = 0.0f;
}

void FrameTiming::passEnded(float passStart, float now) {
    lastPass = now - passStart;
    accumulated += lastPass;
}

void FrameTiming::endPass(float passStart, int refreshRate) {
    const float idle = idleTime(*this, passStart, clock(), refreshRate);
    if (idle > 0.0f) sleep(idle);
    passEnded(passStart, clock());
}

void FrameTiming::reportStats(bool shown, float now, std::ostream& out) {
    if (!shown) {
        statsWindowStart = now;
        frameCount = 0;
    } else if (statsDue(now)) {
        printStats(out, now);
    }
}

void FrameTiming::printStats(std::ostream& out, float now) {
    out << std::fixed << std::setprecision(3) << " ms/frame: "
        << 1000.0 / static_cast<double>(frameCount) << " frames: " << frameCount
        << " DeltaTime: " << lastPass * 1000 << "ms" << std::endl;
    frameCount = 0;
    statsWindowStart += 1.0f;
    if (statsDue(now)) statsWindowStart = now;
}
