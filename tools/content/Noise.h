#pragma once

#include <glm/glm.hpp>

/// Fractal noise for painting textures and shaping terrain, built on stb_perlin.
///
/// The tiled forms repeat over the unit square (u and v in [0, 1)), so textures made from
/// them repeat without seams. `period` is the number of lattice cells across the square
/// and must be a power of two; each octave doubles it (stb_perlin wraps at 256 at most).
/// Values are roughly in [-1, 1] for the Perlin forms.
class Noise {
public:
    explicit Noise(int seed);

    float tiled(float u, float v, int period, int octaves, float gain = 0.5f) const;
    /// Sharp crests where the noise crosses zero: rock seams, dunes, lightning.
    float tiledRidged(float u, float v, int period, int octaves) const;
    /// Non-repeating 3D fractal noise, for surfaces mapped on spheres and the sky.
    float spatial(const glm::vec3& p, int octaves, float gain = 0.5f) const;

    /// One jittered point per cell on a `cells` x `cells` grid that tiles the unit square.
    struct CellSample {
        float nearest;  ///< distance to the nearest point, in cell units
        float second;   ///< distance to the second-nearest point
        float value;    ///< a stable random number in [0, 1) of the nearest point's cell
    };
    CellSample tiledCells(float u, float v, int cells) const;

private:
    float cellValue(int cx, int cy) const;
    glm::vec2 cellPoint(int cx, int cy) const;
    int seed;
};
