#include "tools/content/Noise.h"

#include <stb_perlin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr int kLargestWrap = 256;  // stb_perlin's lattice repeats every 256 cells

std::uint32_t hash(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float unitHash(std::uint32_t x) { return static_cast<float>(hash(x) >> 8) / 16777216.0f; }

}  // namespace

Noise::Noise(int noiseSeed) : seed(noiseSeed) {}

float Noise::tiled(float u, float v, int period, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    int cells = period;
    for (int o = 0; o < octaves && cells <= kLargestWrap; ++o) {
        const float x = u * static_cast<float>(cells);
        const float y = v * static_cast<float>(cells);
        sum += amplitude * stb_perlin_noise3_seed(x, y, static_cast<float>(o) * 7.31f, cells, cells, 0,
                                                  seed + o);
        norm += amplitude;
        amplitude *= gain;
        cells *= 2;
    }
    return norm > 0.0f ? sum / norm * 1.6f : 0.0f;
}

float Noise::tiledRidged(float u, float v, int period, int octaves) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    int cells = period;
    for (int o = 0; o < octaves && cells <= kLargestWrap; ++o) {
        const float n = stb_perlin_noise3_seed(u * static_cast<float>(cells), v * static_cast<float>(cells),
                                               static_cast<float>(o) * 3.7f, cells, cells, 0, seed + 31 + o);
        const float ridge = 1.0f - std::fabs(n);
        sum += amplitude * ridge * ridge;
        norm += amplitude;
        amplitude *= 0.5f;
        cells *= 2;
    }
    return norm > 0.0f ? sum / norm : 0.0f;
}

float Noise::spatial(const glm::vec3& p, int octaves, float gain) const {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float norm = 0.0f;
    glm::vec3 q = p;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * stb_perlin_noise3_seed(q.x, q.y, q.z, 0, 0, 0, seed + 101 + o);
        norm += amplitude;
        amplitude *= gain;
        q *= 2.0f;
    }
    return sum / norm * 1.6f;
}

glm::vec2 Noise::cellPoint(int cx, int cy) const {
    const std::uint32_t key = static_cast<std::uint32_t>(cx) * 73856093U ^
                              static_cast<std::uint32_t>(cy) * 19349663U ^
                              static_cast<std::uint32_t>(seed) * 83492791U;
    return glm::vec2(unitHash(key), unitHash(key ^ 0x5bd1e995U));
}

float Noise::cellValue(int cx, int cy) const {
    const std::uint32_t key = static_cast<std::uint32_t>(cx) * 2654435761U ^
                              static_cast<std::uint32_t>(cy) * 40503U ^ static_cast<std::uint32_t>(seed);
    return unitHash(key);
}

Noise::CellSample Noise::tiledCells(float u, float v, int cells) const {
    const float x = u * static_cast<float>(cells);
    const float y = v * static_cast<float>(cells);
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    float nearest = 1e9f;
    float second = 1e9f;
    float value = 0.0f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = ix + dx;
            const int cy = iy + dy;
            const int wx = ((cx % cells) + cells) % cells;
            const int wy = ((cy % cells) + cells) % cells;
            const glm::vec2 point = glm::vec2(cx, cy) + cellPoint(wx, wy);
            const float d = glm::length(point - glm::vec2(x, y));
            if (d < nearest) {
                second = nearest;
                nearest = d;
                value = cellValue(wx, wy);
            } else {
                second = std::min(second, d);
            }
        }
    return {nearest, second, value};
}
