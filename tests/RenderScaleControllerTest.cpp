#include "app/RenderScaleController.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr float kBudget = 1.0f / 60.0f;  // seconds
constexpr float kFrame = 1.0f / 60.0f;   // seconds between frames on the fake clock

struct Change {
    float time;
    float from;
    float to;
};

// Feeds `seconds` of frames, each costing what `costAt` says of the scale it is drawn at;
// returns the scale changes.
std::vector<Change> run(RenderScaleController& controller, float& clock, float seconds,
                        const std::function<float(float)>& costAt) {
    std::vector<Change> changes;
    for (const float end = clock + seconds; clock < end; clock += kFrame) {
        const float before = controller.scale();
        const float after = controller.frameDrawn(costAt(before), kBudget, clock);
        if (after != before) changes.push_back({clock, before, after});
    }
    return changes;
}

std::vector<Change> run(RenderScaleController& controller, float& clock, float seconds, float cost) {
    return run(controller, clock, seconds, [cost](float) { return cost; });
}

// A frame whose cost grows with the drawn area, as a software renderer's does.
float costAt(float scale, float fullSizeCost) { return fullSizeCost * scale * scale; }

std::function<float(float)> growingWithArea(float fullSizeCost) {
    return [fullSizeCost](float scale) { return costAt(scale, fullSizeCost); };
}

}  // namespace

TEST(RenderScaleController, FallsWhileFramesAreOverBudgetAndStaysAtFullSizeWhenCheap) {
    RenderScaleController slow(true, 1.0f);
    float clock = 0.0f;
    EXPECT_FALSE(run(slow, clock, 2.0f, 2.0f * kBudget).empty());
    EXPECT_LT(slow.scale(), 1.0f);

    RenderScaleController fast(true, 1.0f);
    clock = 0.0f;
    EXPECT_TRUE(run(fast, clock, 10.0f, 0.3f * kBudget).empty());  // a fast GPU: never moves
    EXPECT_EQ(fast.scale(), 1.0f);
}

TEST(RenderScaleController, SettlesWhereTheFrameFitsAndRisesAgainWhenItGetsCheaper) {
    RenderScaleController controller(true, 1.0f);
    float clock = 0.0f;
    // 2.5 budgets at full size: frames fit the aim somewhere near scale 0.58.
    run(controller, clock, 10.0f, growingWithArea(2.5f * kBudget));
    const float settled = controller.scale();
    EXPECT_LE(costAt(settled, 2.5f * kBudget), kBudget);
    EXPECT_GE(settled, 0.45f);

    // Held there: the same load changes nothing for a long while (no pumping).
    EXPECT_TRUE(run(controller, clock, 10.0f, growingWithArea(2.5f * kBudget)).empty());

    // The load halves: the scale climbs back, one step at a time.
    for (const Change& change : run(controller, clock, 20.0f, growingWithArea(1.25f * kBudget)))
        EXPECT_NEAR(change.to - change.from, RenderScaleController::kStep, 1e-4f);
    EXPECT_GT(controller.scale(), settled);
    EXPECT_LE(costAt(controller.scale(), 1.25f * kBudget), kBudget);
}

TEST(RenderScaleController, NeverLeavesItsRangeAndRisesAtMostEveryHalfSecond) {
    RenderScaleController controller(true, 1.0f);
    float clock = 0.0f;
    std::vector<Change> changes = run(controller, clock, 20.0f, 100.0f * kBudget);
    EXPECT_EQ(controller.scale(), RenderScaleController::kSmallest);
    const std::vector<Change> rising = run(controller, clock, 40.0f, 0.0001f * kBudget);
    changes.insert(changes.end(), rising.begin(), rising.end());
    EXPECT_EQ(controller.scale(), RenderScaleController::kLargest);

    ASSERT_GT(changes.size(), 10u);
    for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_GE(changes[i].to, RenderScaleController::kSmallest);
        EXPECT_LE(changes[i].to, RenderScaleController::kLargest);
        EXPECT_LE(changes[i].from - changes[i].to, RenderScaleController::kLargestSuddenFall + 1e-4f);
        if (i > 0 && changes[i].to > changes[i].from) {
            EXPECT_GE(changes[i].time - changes[i - 1].time, RenderScaleController::kSettleSeconds);
        }
    }
}

// The edges are smoothed only at full size, so a frame there costs more than its area says:
// once full size has been tried and left, it is tried again after a while, not at every look.
TEST(RenderScaleController, AScaleFoundTooCostlyIsTriedAgainOnlyAfterAWhile) {
    RenderScaleController controller(true, 1.0f);
    float clock = 0.0f;
    const auto dearerAtFullSize = [](float scale) {
        return costAt(scale, 0.7f * kBudget) + (scale == RenderScaleController::kLargest ? 0.3f * kBudget : 0.0f);
    };
    std::vector<float> tries;
    for (const Change& change : run(controller, clock, 30.0f, dearerAtFullSize))
        if (change.to == RenderScaleController::kLargest) tries.push_back(change.time);
    ASSERT_GE(tries.size(), 2u);
    for (std::size_t i = 1; i < tries.size(); ++i)
        EXPECT_GE(tries[i] - tries[i - 1], RenderScaleController::kRetrySeconds);
}

// The wreck's smoke comes into view (three budgets at full size): a fall within a few frames,
// fitting in half a second; a lone slow frame, or a run a little over budget, moves nothing.
TEST(RenderScaleController, ASuddenLoadIsMetWithinAFewFrames) {
    RenderScaleController controller(true, 1.0f);
    float clock = 0.0f;
    controller.frameDrawn(10.0f * kBudget, kBudget, clock);
    EXPECT_TRUE(run(controller, clock, 0.1f, 1.2f * kBudget).empty());
    EXPECT_TRUE(run(controller, clock, 0.4f, 0.5f * kBudget).empty());
    const float jump = clock;
    float firstFall = -1.0f;
    for (; clock < jump + 0.5f; clock += kFrame) {
        controller.frameDrawn(costAt(controller.scale(), 3.0f * kBudget), kBudget, clock);
        if (firstFall < 0.0f && controller.scale() < 1.0f) firstFall = clock;
    }
    EXPECT_LE(firstFall - jump, RenderScaleController::kOverrunFrames * kFrame + 1e-4f);
    EXPECT_LE(costAt(controller.scale(), 3.0f * kBudget), kBudget);
}

TEST(RenderScaleController, FixedScaleIsKeptWithinRangeAndNeverMoves) {
    const struct {
        float asked;
        float kept;
    } cases[] = {{0.5f, 0.5f}, {0.1f, 0.25f}, {2.0f, 1.0f}, {1.0f, 1.0f}};
    for (const auto& c : cases) {
        RenderScaleController controller(false, c.asked);
        float clock = 0.0f;
        EXPECT_TRUE(run(controller, clock, 5.0f, 10.0f * kBudget).empty()) << c.asked;
        EXPECT_EQ(controller.scale(), c.kept) << c.asked;
    }
}
