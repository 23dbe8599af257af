#pragma once

#include <cstdint>

/// The layout of the HUD's font atlas ("hud_font.png"), shared by the content generator
/// that bakes it and the HUD text that reads it.
///
/// A grid of equal cells, one glyph each, of a monospaced face: every glyph advances by
/// the same width, so the game needs no metrics beyond these numbers. Slots 0..94 hold
/// the printable ASCII characters from the space on, slot 95 the em dash, and slot 96 is
/// solid, for frames and backdrops drawn in the same batch as the text. The glyph's
/// advance box is centred in its cell; the margins keep neighbours apart when the
/// texture is filtered and mipmapped. Sizes in atlas pixels, rows from the top of the file.
namespace glyph_grid {

constexpr int kColumns = 16;
constexpr int kRows = 7;
constexpr int kCellWidth = 32;
constexpr int kCellHeight = 56;
constexpr int kAdvance = 24;  ///< the face's advance: the pen moves this far per glyph
constexpr int kAtlasWidth = kColumns * kCellWidth;
constexpr int kAtlasHeight = kRows * kCellHeight;

constexpr char32_t kFirstCharacter = U' ';
constexpr char32_t kLastCharacter = U'~';
constexpr char32_t kEmDash = U'\u2014';
constexpr int kEmDashSlot = static_cast<int>(kLastCharacter - kFirstCharacter) + 1;
constexpr int kSolidSlot = kEmDashSlot + 1;
constexpr int kReplacementSlot = static_cast<int>(U'?' - kFirstCharacter);

/// The cell that shows `character`; a character the atlas lacks shows as '?'.
constexpr int slotOf(char32_t character) {
    if (character >= kFirstCharacter && character <= kLastCharacter)
        return static_cast<int>(character - kFirstCharacter);
    return character == kEmDash ? kEmDashSlot : kReplacementSlot;
}

/// The character a glyph slot holds (the solid slot holds none and gives 0).
constexpr char32_t characterOf(int slot) {
    if (slot == kEmDashSlot) return kEmDash;
    if (slot < 0 || slot > kEmDashSlot) return 0;
    return kFirstCharacter + static_cast<char32_t>(slot);
}

}  // namespace glyph_grid
