#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <string_view>

class GlyphQuads;

/// A short note over the scene after a frame cap was typed in free-camera mode:
/// "FRAME CAP 144", or, when the typed value was refused, the cap kept and the range.
///
/// It ages by the drawn frames' seconds, not by the match clock, which stands still in a
/// pause. It lays itself out among the HUD's text quads, which HudText draws in its one
/// batch. Allocates nothing.
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
    /// Adds the note on a dark backdrop, centred under the pause label, for a window of
    /// `width` x `height` pixels; nothing while it is not shown.
    void layOut(float width, float height, GlyphQuads& quads) const;

private:
    void start(int written, const glm::vec4& textColor);

    std::array<char, 48> buffer{};
    std::size_t length = 0;
    glm::vec4 color{1.0f};
    float secondsLeft = 0.0f;
};
