#pragma once

#include "render/GlyphQuads.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

// Small helpers shared by the HUD's text layouts: fixed buffers to format into (the HUD
// allocates nothing per frame), boxes given in window fractions, and cells fitted to them.

using TextBuffer = std::array<char, 96>;

/// The part of `buffer` that snprintf wrote, given what it returned.
inline std::string_view written(const TextBuffer& buffer, int length) {
    const int kept = std::clamp(length, 0, static_cast<int>(buffer.size()) - 1);
    return std::string_view(buffer.data(), static_cast<std::size_t>(kept));
}

inline PixelRect pixelsOf(float x, float y, float w, float h, float width, float height) {
    return {x * width, y * height, w * width, h * height};
}

/// The largest cell, at most `cellHeight`, at which a text `widthPerCell` wide for each
/// pixel of cell height spans at most `width`.
inline float fittedCell(float width, float cellHeight, float widthPerCell) {
    return std::min(cellHeight, width / widthPerCell);
}

inline float widthPerCell(std::size_t columns) { return GlyphQuads::span(columns, 1.0f); }
inline float widthPerCell(std::string_view text) { return GlyphQuads::width(text, 1.0f); }

inline void addCentred(GlyphQuads& quads, std::string_view text, const PixelRect& box, float cell,
                       const glm::vec4& color) {
    const float left = box.left + (box.width - GlyphQuads::width(text, cell)) * 0.5f;
    quads.addText(text, left, box.top + (box.height - cell) * 0.5f, cell, color);
}
