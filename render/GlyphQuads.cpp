#include "render/GlyphQuads.h"

#include "render/GlyphGrid.h"

#include <cmath>

namespace {

using namespace glyph_grid;

constexpr char32_t kMalformed = U'\uFFFD';

bool isContinuation(unsigned char byte) { return (byte & 0xC0u) == 0x80u; }

// The code point that starts at `i`, moving `i` past it. A malformed sequence gives
// U+FFFD for its first byte alone.
char32_t nextCodepoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80u) return lead;
    const int continuations = lead >= 0xF0u ? 3 : lead >= 0xE0u ? 2 : lead >= 0xC0u ? 1 : -1;
    if (continuations < 0 || i + static_cast<std::size_t>(continuations) > text.size())
        return kMalformed;
    char32_t codepoint = lead & (0x3Fu >> continuations);
    for (int k = 0; k < continuations; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if (!isContinuation(byte)) return kMalformed;
        codepoint = (codepoint << 6) | (byte & 0x3Fu);
    }
    i += static_cast<std::size_t>(continuations);
    return codepoint;
}

std::size_t glyphCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) nextCodepoint(text, i);
    return count;
}

float scaleFor(float cellHeight) { return cellHeight / static_cast<float>(kCellHeight); }

// The atlas is flipped on loading: v = 1 is the top row of the file.
struct AtlasBox {
    glm::vec2 topLeft;
    glm::vec2 bottomRight;
};

AtlasBox atlasBoxOf(int slot) {
    const float column = static_cast<float>(slot % kColumns);
    const float row = static_cast<float>(slot / kColumns);
    // The solid cell is sampled well inside its edges, where filtering sees it alone.
    const float inset = slot == kSolidSlot ? 0.25f : 0.0f;
    const float u0 = (column + inset) / kColumns;
    const float u1 = (column + 1.0f - inset) / kColumns;
    const float vTop = 1.0f - (row + inset) / kRows;
    const float vBottom = 1.0f - (row + 1.0f - inset) / kRows;
    return {{u0, vTop}, {u1, vBottom}};
}

glm::u8vec4 toBytes(const glm::vec4& color) {
    const glm::vec4 clamped = glm::clamp(color, 0.0f, 1.0f) * 255.0f + 0.5f;
    return glm::u8vec4(clamped);
}

}  // namespace

GlyphQuads::GlyphQuads() { vertexList.reserve(kCapacity * kVerticesPerQuad); }

float GlyphQuads::advance(float cellHeight) {
    return static_cast<float>(kAdvance) * scaleFor(cellHeight);
}

float GlyphQuads::span(std::size_t glyphs, float cellHeight) {
    if (glyphs == 0) return 0.0f;
    return static_cast<float>(glyphs - 1) * advance(cellHeight) +
           static_cast<float>(kCellWidth) * scaleFor(cellHeight);
}

float GlyphQuads::width(std::string_view text, float cellHeight) {
    return span(glyphCount(text), cellHeight);
}

float GlyphQuads::addText(std::string_view text, float left, float top, float cellHeight,
                          const glm::vec4& color) {
    const float cellWidth = static_cast<float>(kCellWidth) * scaleFor(cellHeight);
    float pen = left;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t character = nextCodepoint(text, i);
        if (character != U' ') addQuad({pen, top, cellWidth, cellHeight}, slotOf(character), color);
        pen += advance(cellHeight);
    }
    return pen;
}

void GlyphQuads::addRect(const PixelRect& rect, const glm::vec4& color) {
    addQuad(rect, kSolidSlot, color);
}

void GlyphQuads::addQuad(const PixelRect& rect, int slot, const glm::vec4& color) {
    if (quadCount() >= kCapacity) return;
    const AtlasBox box = atlasBoxOf(slot);
    const glm::u8vec4 rgba = toBytes(color);
    const GlyphVertex topLeft{{rect.left, rect.top}, box.topLeft, rgba};
    const GlyphVertex bottomLeft{{rect.left, rect.bottom()}, {box.topLeft.x, box.bottomRight.y}, rgba};
    const GlyphVertex topRight{{rect.right(), rect.top}, {box.bottomRight.x, box.topLeft.y}, rgba};
    const GlyphVertex bottomRight{{rect.right(), rect.bottom()}, box.bottomRight, rgba};
    // The order of the HUD's own quads, so that both face the same way.
    for (const GlyphVertex& corner : {topLeft, bottomLeft, topRight, topRight, bottomLeft, bottomRight})
        vertexList.push_back(corner);
}

PixelRect GlyphQuads::quadRect(std::size_t index) const {
    const glm::vec2 topLeft = vertexList[index * kVerticesPerQuad].position;
    const glm::vec2 bottomRight = vertexList[index * kVerticesPerQuad + 5].position;
    return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
}

int GlyphQuads::quadSlot(std::size_t index) const {
    const glm::vec2 centre = (vertexList[index * kVerticesPerQuad].atlasCoordinates +
                              vertexList[index * kVerticesPerQuad + 5].atlasCoordinates) *
                             0.5f;
    const int column = static_cast<int>(std::floor(centre.x * kColumns));
    const int row = static_cast<int>(std::floor((1.0f - centre.y) * kRows));
    return row * kColumns + column;
}
