#pragma once

#include "tools/content/Image.h"

// Ground and material pictures. All of them repeat without seams: the terrain's texture
// coordinates run over many repeats.

/// Rust-red dust with pebbles, rocks and shallow craters (landscape tile 1).
Image paintMarsGround(int size);
/// Banded grey-brown rock with cracks and rubble (landscape tile 2).
Image paintRockyGround(int size);
/// Planks with grain and knots (the framework's wood material).
Image paintWood(int size);
/// Glazed square tiles with grout (the framework's tiles material).
Image paintTiles(int size);
