#include "app/FrameTiming.h"
#include "game/MatchClock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

constexpr float kPassOverhead = 0.00005f;  // seconds: physics, polling, the budget check
constexpr float kOversleep = 0.0003f;      // seconds the scheduler wakes the loop late

/// The loop's passes on a fake clock: each pass steps the physics, draws when a frame is
/// due (taking `drawCost`), and ends the pass, which may sleep. Every call is noted.
struct FakeLoop {
    float clock = 0.0f;
    std::vector<float> physicsSteps;  ///< times the physics was stepped
    std::vector<float> frames;        ///< times a frame was drawn
    std::vector<float> sleepStarts;
    float slept = 0.0f;
    float physicsTime = 0.0f;  ///< the time steps handed to the physics, added up
    FrameTiming timing{[this] { return clock; }, [this](float seconds) {
                           sleepStarts.push_back(clock);
                           clock += seconds + kOversleep;
                           slept += seconds + kOversleep;
                       }};

    void run(float seconds, int refreshRate, float drawCost) {
        while (clock < seconds) {
            const float passStart = clock;
            physicsSteps.push_back(passStart);
            physicsTime += timing.lastPass;
            clock += kPassOverhead;
            if (timing.frameDue(refreshRate)) {
                frames.push_back(clock);
                clock += drawCost;
                timing.frameDrawn();
            }
            timing.endPass(passStart, refreshRate);
        }
    }
    float longestPhysicsGap() const {
        float longest = 0.0f;
        for (std::size_t i = 1; i < physicsSteps.size(); ++i)
            longest = std::max(longest, physicsSteps[i] - physicsSteps[i - 1]);
        return longest;
    }
    std::size_t sleepsAfterTheFirstFrame() const {
        const auto first = std::upper_bound(sleepStarts.begin(), sleepStarts.end(), frames.front());
        return static_cast<std::size_t>(sleepStarts.end() - first);
    }
    /// How far ahead the next frame was whenever the loop went to sleep; the nearest case.
    float nearestFrameAtSleep() const {
        float nearest = 1.0f;
        for (float start : sleepStarts) {
            const auto next = std::upper_bound(frames.begin(), frames.end(), start);
            if (next != frames.end()) nearest = std::min(nearest, *next - start);
        }
        return nearest;
    }
};

}  // namespace

TEST(FrameTiming, DrawsOnlyOnceAWholeBudgetHasAccumulated) {
    FrameTiming t({}, {});
    int drawn = 0;
    float clock = 0.0f;
    // 1 ms passes for 100 ms: at 60 Hz a frame every 17 passes (16.67 ms budget).
    for (int pass = 0; pass < 100; ++pass) {
        if (t.frameDue(60)) {
            ++drawn;
            t.frameDrawn();
        }
        t.passEnded(clock, clock + 0.001f);
        clock += 0.001f;
    }
    EXPECT_EQ(drawn, 5);
}

TEST(FrameTiming, PassLongerThanTheBudgetDrawsOnEveryPass) {
    FrameTiming t({}, {});
    int drawn = 0;
    for (int pass = 0; pass < 10; ++pass) {
        t.passEnded(0.0f, 0.05f);
        if (t.frameDue(60)) {
            ++drawn;
            t.frameDrawn();
        }
    }
    EXPECT_EQ(drawn, 10);
    EXPECT_FLOAT_EQ(t.lastPass, 0.05f);
}

// A window drag: the physics gets the whole pass and drops what it cannot catch up; the
// frame drops it too, so the scene stays in step with the physics.
TEST(FrameTiming, AStallGivesTheFrameNoMoreTimeThanThePhysicsCatchesUp) {
    FrameTiming t({}, {});
    t.passEnded(0.0f, 2.0f);
    EXPECT_FLOAT_EQ(t.lastPass, 2.0f);
    EXPECT_FLOAT_EQ(t.frameTime(), MatchClock::kMaxStepsPerPass * MatchClock::kStep);
    t.frameDrawn();
    t.passEnded(2.0f, 2.1f);
    EXPECT_NEAR(t.frameTime(), 0.1f, 1e-6f);
}

// A capped loop with cheap frames sleeps most of the time, yet keeps the frame pacing,
// steps the physics at least every sub-step, and hands the physics every second it slept.
TEST(FrameTiming, SleepsOnlyWhenTheNextFrameIsMoreThanTwoMillisecondsAway) {
    struct Case {
        int refreshRate;
        float drawCost;    // seconds
        float sleptShare;  // at least this share of the time asleep
    };
    const Case cases[] = {
        {60, 0.005f, 0.6f},   // a cheap frame: asleep for most of the budget
        {60, 0.0155f, 0.0f},  // the next frame is nearer than 2 ms after drawing: no sleep
        {30, 0.005f, 0.75f},  // a long budget: woken for the physics between frames
        {144, 0.002f, 0.5f},
        {1000, 0.0002f, 0.0f},  // a 1 ms budget: never worth a sleep
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.refreshRate << " Hz, " << c.drawCost << " s a frame");
        FakeLoop loop;
        loop.run(2.0f, c.refreshRate, c.drawCost);

        if (c.sleptShare == 0.0f) {
            EXPECT_EQ(loop.sleepsAfterTheFirstFrame(), 0u);
        } else {
            EXPECT_GT(loop.slept / loop.clock, c.sleptShare);
        }
        EXPECT_GT(loop.nearestFrameAtSleep(), 0.002f);

        const float budget = FrameTiming::frameBudget(c.refreshRate);
        for (std::size_t i = 1; i < loop.frames.size(); ++i)
            ASSERT_NEAR(loop.frames[i] - loop.frames[i - 1], std::max(budget, c.drawCost), 0.001f)
                << "frame " << i;
        EXPECT_LE(loop.longestPhysicsGap(), MatchClock::kStep);
        EXPECT_NEAR(loop.physicsTime + loop.timing.lastPass, loop.clock, 1e-4f);
    }
}

TEST(FrameTiming, StatisticsLineFormatAndWindowAdvance) {
    FrameTiming t({}, {});
    t.frameCount = 60;
    t.lastPass = 0.00012f;
    t.statsWindowStart = 5.0f;
    std::ostringstream out;
    t.printStats(out, 6.01f);
    EXPECT_EQ(out.str(), " ms/frame: 16.667 frames: 60 DeltaTime: 0.120ms\n");
    EXPECT_EQ(t.frameCount, 0);
    EXPECT_FLOAT_EQ(t.statsWindowStart, 6.0f);
}

namespace {

// Passes of 1/64 s (exact in binary), each drawing a frame, as the loop runs them.
struct PassesOf64PerSecond {
    void run(float seconds, bool shown) {
        for (int pass = 0; pass < static_cast<int>(seconds * 64.0f); ++pass) {
            timing.frameDrawn();
            timing.passEnded(clock, clock + kPass);
            clock += kPass;
            timing.reportStats(shown, clock, out);
        }
    }
    static constexpr float kPass = 1.0f / 64.0f;
    FrameTiming timing{{}, {}};
    float clock = 0.0f;
    std::ostringstream out;
};

}  // namespace

// O after minutes without statistics: one line a second later, for that second alone,
// not one line per second since the start.
TEST(FrameTiming, FirstLineAfterTurningStatisticsOnDescribesOneSecond) {
    PassesOf64PerSecond loop;
    loop.run(145.0f, false);
    EXPECT_EQ(loop.out.str(), "");
    loop.run(1.5f, true);
    EXPECT_EQ(loop.out.str(), " ms/frame: 15.625 frames: 64 DeltaTime: 15.625ms\n");
}

TEST(FrameTiming, PassLongerThanASecondLeavesNoBacklogOfLines) {
    PassesOf64PerSecond loop;
    loop.run(2.0f, true);
    loop.timing.passEnded(loop.clock, loop.clock + 3.5f);  // the window was dragged
    loop.clock += 3.5f;
    loop.timing.reportStats(true, loop.clock, loop.out);
    loop.out.str("");
    loop.run(0.5f, true);
    EXPECT_EQ(loop.out.str(), "");
}
