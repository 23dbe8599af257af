#pragma once

#include <glm/glm.hpp>

#include <cstddef>
#include <string_view>
#include <vector>

/// A rectangle in window pixels, y growing downwards.
struct PixelRect {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    float right() const { return left + width; }
    float bottom() const { return top + height; }
    bool contains(const PixelRect& other) const {
        return other.left >= left && other.top >= top && other.right() <= right() &&
               other.bottom() <= bottom();
    }
};

/// One corner of a quad: window pixels, atlas coordinates, RGBA.
struct GlyphVertex {
    glm::vec2 position;
    glm::vec2 atlasCoordinates;
    glm::u8vec4 color;

    bool operator==(const GlyphVertex& other) const {
        return position == other.position && atlasCoordinates == other.atlasCoordinates &&
               color == other.color;
    }
};

/// One frame's screen-space text and solid rectangles as quads over the HUD's font atlas
/// (render/GlyphGrid.h), laid out on the CPU for one draw call.
///
/// The vertex store is sized once, at construction, for kCapacity quads: clearing and
/// adding never allocate, and quads beyond the capacity are dropped. Text is UTF-8; each
/// glyph takes one cell `cellHeight` pixels tall, and the pen moves the face's advance.
/// A space adds no quad.
class GlyphQuads {
public:
    static constexpr std::size_t kCapacity = 512;  ///< quads
    static constexpr std::size_t kVerticesPerQuad = 6;

    GlyphQuads();

    void clear() { vertexList.clear(); }
    /// The box `text` takes at `cellHeight`: its first cell's left edge to its last
    /// cell's right edge, by one cell height.
    static float width(std::string_view text, float cellHeight);
    /// The width of any `glyphs` glyphs at `cellHeight`, spaces included.
    static float span(std::size_t glyphs, float cellHeight);
    /// How far the pen moves per glyph at `cellHeight`, in pixels.
    static float advance(float cellHeight);

    /// Adds `text` with the top left corner of its first cell at (left, top); returns
    /// the left edge of the cell that would come next.
    float addText(std::string_view text, float left, float top, float cellHeight,
                  const glm::vec4& color);
    /// Adds a solid rectangle.
    void addRect(const PixelRect& rect, const glm::vec4& color);

    const std::vector<GlyphVertex>& vertices() const { return vertexList; }
    std::size_t quadCount() const { return vertexList.size() / kVerticesPerQuad; }
    /// Where quad `index` lies and which atlas slot it shows.
    PixelRect quadRect(std::size_t index) const;
    int quadSlot(std::size_t index) const;

private:
    void addQuad(const PixelRect& rect, int slot, const glm::vec4& color);

    std::vector<GlyphVertex> vertexList;
};
