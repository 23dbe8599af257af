#include "app/RenderScaleController.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole steps, so a scale never creeps by rounding; the small tolerance keeps 0.7 at 0.7.
float wholeStepsBelow(float scale) {
    const float steps = std::floor(scale / RenderScaleController::kStep + 1e-3f);
    return steps * RenderScaleController::kStep;
}

float withinRange(float scale) {
    return std::clamp(scale, RenderScaleController::kSmallest, RenderScaleController::kLargest);
}

}  // namespace

RenderScaleController::RenderScaleController(bool isAutomatic, float fixedScale)
    : current(isAutomatic ? kLargest : withinRange(fixedScale)), automatic(isAutomatic) {}

float RenderScaleController::frameDrawn(float frameCost, float frameBudget, float now) {
    if (!automatic) return current;
    if (!looking) {
        looking = true;
        lastLook = now;
    }
    costs[costCount % kKeptCosts] = frameCost;
    ++costCount;
    countOverrun(frameCost, frameBudget);
    const bool sudden = overruns >= kOverrunFrames;
    if (!sudden && now - lastLook < kSettleSeconds) return current;
    float next = sudden ? nextScale(overrunLeast, frameBudget, kLargestSuddenFall)
                        : nextScale(medianCost(), frameBudget, kLargestFall);
    if (retriesTooSoon(next, now)) next = current;
    if (next < current && justRose) {
        fellFrom = current;
        retryAt = now + kRetrySeconds;
    }
    justRose = next > current;
    if (sudden || next != current) overruns = 0;  // counted afresh at the scale now drawn
    current = next;
    costCount = 0;
    lastLook = now;
    return current;
}

void RenderScaleController::countOverrun(float frameCost, float frameBudget) {
    if (frameCost <= kSuddenLoad * frameBudget) {
        overruns = 0;
        return;
    }
    overrunLeast = overruns == 0 ? frameCost : std::min(overrunLeast, frameCost);
    ++overruns;
}

float RenderScaleController::nextScale(float cost, float frameBudget, float largestFall) const {
    const float aim = kAim * frameBudget;
    if (cost > aim) {
        const float areaFits = current * std::sqrt(aim / cost);
        const float fall = std::clamp(current - areaFits, kStep, largestFall);
        return withinRange(wholeStepsBelow(current - fall));
    }
    const float larger = current + kStep;
    const float largerCost = cost * (larger * larger) / (current * current);
    return largerCost < aim ? withinRange(wholeStepsBelow(larger)) : current;
}

bool RenderScaleController::retriesTooSoon(float next, float now) const {
    return next > current && next > fellFrom - kStep / 2.0f && now < retryAt;
}

float RenderScaleController::medianCost() {
    const std::size_t count = std::min(costCount, kKeptCosts);
    const auto middle = costs.begin() + static_cast<std::ptrdiff_t>(count / 2);
    std::nth_element(costs.begin(), middle, costs.begin() + static_cast<std::ptrdiff_t>(count));
    return *middle;
}
