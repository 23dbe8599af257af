#include "tools/content/TextPainter.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

bool initFont(stbtt_fontinfo& info, const std::vector<unsigned char>& data) {
    return !data.empty() && stbtt_InitFont(&info, data.data(), stbtt_GetFontOffsetForIndex(data.data(), 0));
}

// Adds one glyph's coverage with its pen at `penX` (sub-pixel) on the baseline; what falls
// outside the mask is dropped.
void stampGlyph(const stbtt_fontinfo& info, Image& mask, int codepoint, float scale, float penX,
                float baselineY) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    const float shiftX = penX - std::floor(penX);
    stbtt_GetCodepointBitmapBoxSubpixel(&info, codepoint, scale, scale, shiftX, 0.0f, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0;
    const int gh = y1 - y0;
    if (gw <= 0 || gh <= 0) return;
    std::vector<unsigned char> glyph(static_cast<size_t>(gw) * gh);
    stbtt_MakeCodepointBitmapSubpixel(&info, glyph.data(), gw, gh, gw, scale, scale, shiftX, 0.0f, codepoint);
    const int originX = static_cast<int>(std::floor(penX)) + x0;
    const int originY = static_cast<int>(std::lround(baselineY)) + y0;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            const int px = originX + x;
            const int py = originY + y;
            if (px < 0 || py < 0 || px >= mask.width() || py >= mask.height()) continue;
            float& coverage = mask.at(px, py).r;
            coverage = std::max(coverage, static_cast<float>(glyph[static_cast<size_t>(y) * gw + x]) / 255.0f);
        }
}

}  // namespace

TextPainter::TextPainter(const std::string& fontPath) {
    std::ifstream file(fontPath, std::ios::binary);
    font.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    stbtt_fontinfo info;
    if (!initFont(info, font)) {
        std::cout << "Cannot read the font " << fontPath << std::endl;
        font.clear();
    }
}

float TextPainter::measure(const std::string& text, float pixelHeight) const {
    stbtt_fontinfo info;
    if (!initFont(info, font)) return 0.0f;
    const float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&info, static_cast<unsigned char>(text[i]), &advance, &bearing);
        width += static_cast<float>(advance) * scale;
        if (i + 1 < text.size())
            width += scale * static_cast<float>(stbtt_GetCodepointKernAdvance(
                                 &info, static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1])));
    }
    return width;
}

void TextPainter::drawCentred(Image& mask, const std::string& text, float centreX, float baselineY,
                              float pixelHeight, float tracking) const {
    stbtt_fontinfo info;
    if (!initFont(info, font)) return;
    const float scale = stbtt_ScaleForPixelHeight(&info, pixelHeight);
    const float total = measure(text, pixelHeight) + tracking * static_cast<float>(text.size() - 1);
    float penX = centreX - total * 0.5f;
    for (size_t i = 0; i < text.size(); ++i) {
        const int codepoint = static_cast<unsigned char>(text[i]);
        stampGlyph(info, mask, codepoint, scale, penX, baselineY);
        int advance = 0;
        int bearing = 0;
        stbtt_GetCodepointHMetrics(&info, codepoint, &advance, &bearing);
        penX += static_cast<float>(advance) * scale + tracking;
        if (i + 1 < text.size())
            penX += scale * static_cast<float>(stbtt_GetCodepointKernAdvance(
                                &info, codepoint, static_cast<unsigned char>(text[i + 1])));
    }
}

void TextPainter::drawGlyph(Image& mask, char32_t codepoint, float penX, float baselineY,
                            float pixelHeight) const {
    stbtt_fontinfo info;
    if (!initFont(info, font)) return;
    stampGlyph(info, mask, static_cast<int>(codepoint), stbtt_ScaleForPixelHeight(&info, pixelHeight),
               penX, baselineY);
}

float TextPainter::ascent(float pixelHeight) const {
    stbtt_fontinfo info;
    if (!initFont(info, font)) return 0.0f;
    int ascender = 0;
    int descender = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascender, &descender, &lineGap);
    return static_cast<float>(ascender) * stbtt_ScaleForPixelHeight(&info, pixelHeight);
}
