#include "effects/WindowRemainder.h"

#include <algorithm>

namespace {

int top(const WindowRemainder::Box& box) { return box[1] + box[3]; }
int right(const WindowRemainder::Box& box) { return box[0] + box[2]; }

}  // namespace

WindowRemainder::WindowRemainder(int width, int height,
                                 const std::array<Box, kMostTakenOut>& takenOut,
                                 std::size_t count) {
    count = std::min(count, kMostTakenOut);
    std::array<int, 2 * kMostTakenOut + 2> edges{};  // those not taken stay at 0
    edges.back() = height;
    for (std::size_t i = 0; i < count; ++i) {
        edges[2 * i] = std::clamp(takenOut[i][1], 0, height);
        edges[2 * i + 1] = std::clamp(top(takenOut[i]), 0, height);
    }
    std::sort(edges.begin(), edges.end());
    for (std::size_t i = 0; i + 1 < edges.size(); ++i)
        if (edges[i] < edges[i + 1]) addRow(edges[i], edges[i + 1], width, takenOut, count);
}

void WindowRemainder::addRow(int bottom, int rowTop, int width,
                             const std::array<Box, kMostTakenOut>& takenOut, std::size_t count) {
    std::array<Box, kMostTakenOut> across{};
    across.fill({width, 0, 0, 0});  // those not taken sort after the others
    std::size_t acrossCount = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (takenOut[i][1] <= bottom && top(takenOut[i]) >= rowTop)
            across[acrossCount++] = takenOut[i];
    std::sort(across.begin(), across.end(), [](const Box& a, const Box& b) { return a[0] < b[0]; });
    int left = 0;
    for (std::size_t i = 0; i < acrossCount; ++i) {
        if (across[i][0] > left) boxes[boxCount++] = {left, bottom, across[i][0] - left, rowTop - bottom};
        left = std::max(left, right(across[i]));
    }
    if (left < width) boxes[boxCount++] = {left, bottom, width - left, rowTop - bottom};
}
