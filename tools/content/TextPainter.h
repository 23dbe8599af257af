#pragma once

#include "tools/content/Image.h"

#include <cstdint>
#include <string>
#include <vector>

/// Renders lines of text with a TrueType font (stb_truetype) into a coverage mask.
///
/// The mask is an Image whose red channel holds the coverage (0..1); callers colour it,
/// blur it for a glow, or cut it out. A font that cannot be read prints one line and
/// leaves the painter unloaded: it then draws nothing.
class TextPainter {
public:
    explicit TextPainter(const std::string& fontPath);

    bool loaded() const { return !font.empty(); }
    /// Width in pixels of `text` at `pixelHeight` (the font's ascent-to-descent height).
    float measure(const std::string& text, float pixelHeight) const;
    /// Adds `text` centred on `centreX` with its baseline at `baselineY`; `tracking` is extra
    /// space between letters in pixels.
    void drawCentred(Image& mask, const std::string& text, float centreX, float baselineY,
                     float pixelHeight, float tracking = 0.0f) const;
    /// Adds the one glyph for `codepoint` with its pen at `penX` and its baseline at `baselineY`.
    void drawGlyph(Image& mask, char32_t codepoint, float penX, float baselineY,
                   float pixelHeight) const;
    /// How far the face rises above its baseline at `pixelHeight`, in pixels.
    float ascent(float pixelHeight) const;

private:
    std::vector<unsigned char> font;
};

/// The bold sans face the HUD pictures use (Debian's fonts-dejavu-core).
inline const std::string kHudFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
/// Its monospaced sibling, for the HUD's live text: every glyph advances alike.
inline const std::string kHudMonoFontPath =
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";
