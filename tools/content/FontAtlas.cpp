#include "tools/content/FontAtlas.h"

#include "render/GlyphGrid.h"

#include <algorithm>
#include <cmath>

namespace {

using namespace glyph_grid;

// A dark rim around every glyph keeps the text readable over any bar or sky.
constexpr float kOutlineRadius = 2.5f;  // atlas pixels

int columnOf(int slot) { return slot % kColumns; }
int rowOf(int slot) { return slot / kColumns; }

void fillSolidCell(Image& atlas) {
    const int left = columnOf(kSolidSlot) * kCellWidth;
    const int top = rowOf(kSolidSlot) * kCellHeight;
    for (int y = top; y < top + kCellHeight; ++y)
        for (int x = left; x < left + kCellWidth; ++x) atlas.at(x, y) = glm::vec4(1.0f);
}

// The coverage grown by the outline's radius: the most coverage within reach, fading
// over the last pixel.
float outlineAt(const Image& mask, int x, int y) {
    const int reach = static_cast<int>(std::ceil(kOutlineRadius));
    float most = 0.0f;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const int px = x + dx;
            const int py = y + dy;
            if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height()) continue;
            const float distance = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            const float weight = std::clamp(kOutlineRadius + 0.5f - distance, 0.0f, 1.0f);
            most = std::max(most, mask.at(px, py).r * weight);
        }
    return most;
}

// An unreadable face (the painter has said so) leaves the glyph cells clear.
void bakeGlyphs(const TextPainter& face, Image& mask) {
    if (!face.loaded()) return;
    // The size at which one advance is exactly kAdvance pixels; the em box sits in the
    // middle of the cell's height.
    const float pixelHeight = static_cast<float>(kAdvance) / face.measure("0", 1.0f);
    const float baseline =
        (static_cast<float>(kCellHeight) - pixelHeight) * 0.5f + face.ascent(pixelHeight);
    const float margin = static_cast<float>(kCellWidth - kAdvance) * 0.5f;
    for (int slot = 0; slot < kSolidSlot; ++slot) {
        const float penX = static_cast<float>(columnOf(slot) * kCellWidth) + margin;
        const float baselineY = static_cast<float>(rowOf(slot) * kCellHeight) + baseline;
        face.drawGlyph(mask, characterOf(slot), penX, baselineY, pixelHeight);
    }
}

}  // namespace

Image paintFontAtlas(const TextPainter& face) {
    Image mask(kAtlasWidth, kAtlasHeight, glm::vec4(0.0f));
    bakeGlyphs(face, mask);

    // White glyphs in black rims: the colour is the glyph's coverage, the alpha its
    // coverage with the rim. Clear texels are black, like the rim they border, so that
    // filtering leaves no light fringe.
    Image atlas(kAtlasWidth, kAtlasHeight, glm::vec4(0.0f));
    for (int y = 0; y < kAtlasHeight; ++y)
        for (int x = 0; x < kAtlasWidth; ++x) {
            const float fill = mask.at(x, y).r;
            atlas.at(x, y) = glm::vec4(glm::vec3(fill), std::max(fill, outlineAt(mask, x, y)));
        }
    fillSolidCell(atlas);
    return atlas;
}
