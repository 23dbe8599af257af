#include "effects/WindowRemainder.h"

#include <gtest/gtest.h>

#include <vector>

using Box = WindowRemainder::Box;

// Every pixel of a small window must lie in exactly one box: one taken out, or one of what
// is left. Those taken out may overlap each other, stand on the window's edges or be empty.
TEST(WindowRemainder, CoversEachPixelOutsideTheBoxesTakenOutOnce) {
    constexpr int kWidth = 40;
    constexpr int kHeight = 30;
    const std::vector<std::vector<Box>> layouts = {
        {},
        {{10, 10, 20, 10}},
        {{0, 0, kWidth, kHeight}},
        {{0, 0, 5, 5}, {35, 25, 5, 5}},
        {{5, 5, 11, 10}, {15, 8, 10, 10}},  // a column and a row shared
        {{5, 5, 20, 10}, {8, 7, 4, 4}},     // one inside another
        {{2, 2, 6, 26}, {10, 2, 6, 6}, {10, 12, 6, 6}, {20, 0, 0, 10}},
        {{1, 1, 8, 8}, {12, 3, 8, 8}, {24, 5, 8, 8}, {30, 20, 10, 10}},
    };
    for (std::size_t layout = 0; layout < layouts.size(); ++layout) {
        std::array<Box, WindowRemainder::kMostTakenOut> takenOut{};
        std::copy(layouts[layout].begin(), layouts[layout].end(), takenOut.begin());
        std::vector<int> takenAt(kWidth * kHeight, 0);
        std::vector<int> leftAt(kWidth * kHeight, 0);
        const auto mark = [](std::vector<int>& counts, const Box& box) {
            for (int y = box[1]; y < box[1] + box[3]; ++y)
                for (int x = box[0]; x < box[0] + box[2]; ++x) ++counts[y * kWidth + x];
        };
        for (const Box& box : layouts[layout]) mark(takenAt, box);
        for (const Box& box : WindowRemainder(kWidth, kHeight, takenOut, layouts[layout].size()))
            mark(leftAt, box);
        for (int pixel = 0; pixel < kWidth * kHeight; ++pixel)
            ASSERT_EQ(leftAt[pixel], takenAt[pixel] > 0 ? 0 : 1)
                << "layout " << layout << ", pixel " << pixel % kWidth << ", " << pixel / kWidth;
    }
}
