#pragma once

#include <algorithm>

/// The easing rates of the craft, the camera and the boss are shares of the remaining gap
/// closed per tenth of a second.
constexpr float kEasingRate = 10.0f;  // tenths per second

/// The factor of one easing step `x += (target - x) * factor` over `dt` seconds: the share
/// per tenth of a second times the tenths in `dt`, but never more than the whole gap. A long
/// frame (a slow machine, a stall) then lands on the target instead of past it; unclamped,
/// every later frame would overshoot further.
inline float easingFactor(float sharePerTenth, float dt) {
    return std::min(sharePerTenth * kEasingRate * dt, 1.0f);
}
