#pragma once

#include "render/GlyphQuads.h"

#include <array>
#include <cstddef>
#include <string_view>

/// A short note over the scene after a frame cap was typed in free-camera mode:
/// "FRAME CAP 144", or, when the typed value was refused, the cap kept and the range.
///
/// It ages by the drawn frames' seconds, not by the match clock, which stands still in a
/// pause. It lays itself out as quads over the HUD's font atlas; the caller draws them
/// with a TextBatch, blending on, like the rest of the HUD's text. Allocates nothing after
/// construction.
class FrameCapNote {
public:
    static constexpr float kShownSeconds = 2.0f;

    /// The cap taken, in frames per second.
    void show(int framesPerSecond);
    /// A typed cap was refused: the cap kept, and the range it must lie in.
    void showRefused(int keptFramesPerSecond, int least, int most);
    /// Once per drawn frame, with that frame's seconds.
    void age(float frameSeconds);
    bool shown() const { return secondsLeft > 0.0f; }
    std::string_view text() const { return std::string_view(buffer.data(), length); }
    /// The note on a dark backdrop, centred under the pause label, for a window of
    /// `width` x `height` pixels; no quads while it is not shown.
    const GlyphQuads& layOut(float width, float height);

private:
    void start(int written, const glm::vec4& textColor);

    GlyphQuads quads;
    std::array<char, 48> buffer{};
    std::size_t length = 0;
    glm::vec4 color{1.0f};
    float secondsLeft = 0.0f;
};
