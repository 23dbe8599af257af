#pragma once

#include "tools/content/Image.h"
#include "tools/content/TextPainter.h"

/// The HUD's font atlas: every glyph of render/GlyphGrid.h baked white with a thin black
/// rim on clear, each centred on its advance in its cell, plus the solid white cell. `face` should be monospaced: the game advances every glyph by the same width.
Image paintFontAtlas(const TextPainter& face);
