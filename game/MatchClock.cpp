#include "game/MatchClock.h"

#include <algorithm>
#include <cmath>

int MatchClock::takeDueSteps(float passSeconds) {
    carried += std::max(0.0f, passSeconds);
    const double step = kStep;
    const int due = static_cast<int>(std::floor(carried / step));
    const int taken = std::min(due, kMaxStepsPerPass);
    carried -= taken * step;
    if (due > kMaxStepsPerPass) carried = std::fmod(carried, step);  // the backlog is dropped
    return taken;
}
