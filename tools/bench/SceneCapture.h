#pragma once

#include "app/FramePass.h"

#include <cstdint>
#include <vector>

/// Reads the window's picture back once the resolve has drawn it, before the HUD goes on
/// top: the scene as the render scale and the resolve leave it. Armed for one frame at a
/// time. Needs a current GL context.
class SceneCapture final : public FramePassProbe {
public:
    SceneCapture(int width, int height);

    void enter(FramePass pass) override;
    /// The next drawn frame is read back into `pixels()`.
    void arm() { armed = true; }
    bool taken() const { return !armed; }
    const std::vector<std::uint8_t>& pixels() const { return picture; }

    /// Writes the last picture taken as a PNG (top row first); false when it cannot.
    bool writePng(const char* path) const;

    /// Mean absolute difference per channel (0-255) between two pictures of one size.
    static double meanAbsoluteDifference(const std::vector<std::uint8_t>& a,
                                         const std::vector<std::uint8_t>& b);

private:
    std::vector<std::uint8_t> picture;
    int width;
    int height;
    bool armed = false;
};
