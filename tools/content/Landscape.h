#pragma once

#include <string>

/// The terrain tile, written as Wavefront OBJ with normals and repeating texture
/// coordinates.
///
/// The game scales the tile by 3 and lowers it to y = -30, and lays two tiles end to end
/// that leap-frog along -z. So the tile spans z in [-kTileLength, 0] of the file (3928
/// world units), its heights repeat along z (the joining rows are equal, normals too), it
/// stays below world y = -5 (the arena floor), and it is wide enough to fill a wide view
/// out to the far plane. A winding canyon runs along it for the player to fly down.
class Landscape {
public:
    static constexpr float kTileLength = 3928.0f / 3.0f;  ///< file units along z
    static constexpr float kHalfWidth = 110.0f;           ///< file units either side of x = 0
    static constexpr float kHighest = 8.0f;  ///< file units: 3 x 8 - 30 = -6 in the world

    /// Terrain height in file units at (x, z); repeats along z every kTileLength.
    static float height(float x, float z);
    /// Prints a line and returns false when the file cannot be written.
    static bool write(const std::string& path);
};
