#include "app/FrameTiming.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(FrameTiming, DrawsOnlyOnceAWholeBudgetHasAccumulated) {
    FrameTiming t;
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
    FrameTiming t;
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

TEST(FrameTiming, StatisticsLineFormatAndWindowAdvance) {
    FrameTiming t;
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
    FrameTiming timing;
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
