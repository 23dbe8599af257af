#include "hud/FrameCapNote.h"

#include "render/GlyphQuads.h"

#include <algorithm>
#include <cstdio>

namespace {

const glm::vec4 kNoteColor(1.0f, 0.93f, 0.55f, 1.0f);  // the pause label's
const glm::vec4 kRefusedColor(1.0f, 0.55f, 0.4f, 1.0f);
const glm::vec4 kBackdropColor(0.0f, 0.0f, 0.0f, 0.6f);

// Window fractions: a line under the pause label, which leaves with the free camera.
constexpr float kTop = 0.23f;
constexpr float kCellShare = 0.035f;   // of the window's height
constexpr float kMostWidthShare = 0.9f;
constexpr float kPadding = 0.3f;  // cell heights around the text

}  // namespace

void FrameCapNote::show(int framesPerSecond) {
    start(std::snprintf(buffer.data(), buffer.size(), "FRAME CAP %d", framesPerSecond), kNoteColor);
}

void FrameCapNote::showRefused(int keptFramesPerSecond, int least, int most) {
    start(std::snprintf(buffer.data(), buffer.size(), "FRAME CAP %d (TYPE %d TO %d)",
                        keptFramesPerSecond, least, most),
          kRefusedColor);
}

void FrameCapNote::start(int written, const glm::vec4& textColor) {
    length = static_cast<std::size_t>(std::clamp(written, 0, static_cast<int>(buffer.size()) - 1));
    color = textColor;
    secondsLeft = kShownSeconds;
}

void FrameCapNote::age(float frameSeconds) { secondsLeft = std::max(0.0f, secondsLeft - frameSeconds); }

void FrameCapNote::layOut(float width, float height, GlyphQuads& quads) const {
    if (!shown() || width <= 0.0f || height <= 0.0f) return;
    const float widthPerCell = GlyphQuads::width(text(), 1.0f) + 2.0f * kPadding;  // backdrop's
    const float cell = std::min(kCellShare * height, kMostWidthShare * width / widthPerCell);
    const float textWidth = GlyphQuads::width(text(), cell);
    const float left = 0.5f * (width - textWidth);
    const float top = kTop * height;
    const float pad = kPadding * cell;
    quads.addRect({left - pad, top - pad, textWidth + 2.0f * pad, cell + 2.0f * pad}, kBackdropColor);
    quads.addText(text(), left, top, cell, color);
}
