#pragma once

#include <array>
#include <cstddef>

/// What is left of a window once a few boxes are taken out of it, as boxes that overlap
/// neither each other nor any box taken out: for the draws that must cover the window but
/// the shares another draw writes. Boxes are in whole pixels (x, y, width, height, y up, as
/// glScissor takes them); those taken out lie within the window and may overlap each other.
/// Found in fixed storage, so that finding them every frame allocates nothing.
class WindowRemainder {
public:
    using Box = std::array<int, 4>;
    static constexpr std::size_t kMostTakenOut = 4;

    /// A `width` x `height` window less the first `count` of `takenOut` (at most
    /// kMostTakenOut are read).
    WindowRemainder(int width, int height, const std::array<Box, kMostTakenOut>& takenOut,
                    std::size_t count);

    const Box* begin() const { return boxes.data(); }
    const Box* end() const { return boxes.data() + boxCount; }

private:
    // Each row between two neighbouring edges of the boxes taken out, less those across it.
    static constexpr std::size_t kMostRows = 2 * kMostTakenOut + 1;
    static constexpr std::size_t kMostPerRow = kMostTakenOut + 1;

    void addRow(int bottom, int rowTop, int width, const std::array<Box, kMostTakenOut>& takenOut,
                std::size_t count);

    std::array<Box, kMostRows * kMostPerRow> boxes{};
    std::size_t boxCount = 0;
};
