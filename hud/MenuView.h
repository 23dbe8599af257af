#pragma once

#include "hud/TextLayout.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

class GlyphQuads;

/// One screen of menu text for the HUD: a heading, up to kMaxLines lines with one marked
/// as selected, and a hint at the foot. The shell fills it each frame; the lines are
/// formatted into the view's own buffers, so nothing is allocated.
struct MenuView {
    static constexpr std::size_t kMaxLines = 8;
    /// Where it shows: a panel in the middle, the title with the game's name, or two lines
    /// under the end picture.
    enum class Placement { Panel, Title, UnderPicture };

    Placement placement = Placement::Panel;
    std::string_view heading;
    std::array<TextBuffer, kMaxLines> buffers{};
    std::array<std::string_view, kMaxLines> lines{};
    std::size_t lineCount = 0;
    std::size_t selected = 0;
    std::string_view hint;

    /// Formats the next line, printf-style; lines past kMaxLines are dropped.
    template <class... Args>
    void addLine(const char* format, Args... args);
};

/// Adds the menu's backdrop and text to `quads` for a window of `width` x `height` pixels.
void layOutMenu(const MenuView& view, float width, float height, GlyphQuads& quads);
/// The line under the point (`x`, `y`) in window pixels, for the mouse; none between lines.
std::optional<std::size_t> menuLineAt(const MenuView& view, float x, float y, float width,
                                      float height);
/// The countdown's big digit in the middle of the window.
void layOutCountdown(int digit, float width, float height, GlyphQuads& quads);

#include <cstdio>

template <class... Args>
void MenuView::addLine(const char* format, Args... args) {
    if (lineCount == kMaxLines) return;
    TextBuffer& buffer = buffers[lineCount];
    lines[lineCount] = written(buffer, std::snprintf(buffer.data(), buffer.size(), format, args...));
    ++lineCount;
}
