#pragma once

#include "tools/content/Image.h"

/// The game's icon for the desktop and the window: the teal craft seen from behind,
/// flying over a rust-red plain toward the boss, a red glow on the horizon, on a rounded
/// tile of dusk sky. Square, `size` pixels a side, transparent outside the tile. Drawn at
/// 4x4 samples a pixel so that edges stay smooth down to small sizes.
Image paintAppIcon(int size);
