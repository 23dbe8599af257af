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
    t.printStats(out);
    EXPECT_EQ(out.str(), " ms/frame: 16.667 frames: 60 DeltaTime: 0.120ms\n");
    EXPECT_EQ(t.frameCount, 0);
    EXPECT_FLOAT_EQ(t.statsWindowStart, 6.0f);
}

TEST(FrameTiming, StatisticsAreDueAtOnceAfterALongTimeOff) {
    FrameTiming t;
    t.statsWindowStart = 1.0f;
    EXPECT_FALSE(t.statsDue(1.5f));
    EXPECT_TRUE(t.statsDue(100.0f));
    std::ostringstream out;
    t.printStats(out);
    EXPECT_TRUE(t.statsDue(100.0f));  // the window start moves by one second only
}
