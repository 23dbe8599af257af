#pragma once

#include "tools/content/Image.h"
#include "tools/content/TextPainter.h"

// Pictures drawn in screen space.

/// The end-of-match panel: a framed plate with the headline, a line below it and the hint
/// to press R. The game draws it with blending off, so every pixel is a finished colour;
/// the alpha only softens it where blending is on.
Image paintEndPanel(const TextPainter& text, bool won, int width, int height);
/// The heavy-ammunition icon: three big rounds with glowing tips, outlined, on a
/// transparent background whose colour matches the outline (no dark fringes when filtered).
Image paintHeavyRoundsIcon(int width, int height);
