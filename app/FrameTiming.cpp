#include "app/FrameTiming.h"

#include <iomanip>

void FrameTiming::frameDrawn() {
    ++frameCount;
    accumulated = 0.0f;
}

void FrameTiming::passEnded(float passStart, float now) {
    lastPass = now - passStart;
    accumulated += lastPass;
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
