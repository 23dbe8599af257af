#include "tools/content/TerrainTextures.h"

#include "tools/content/Noise.h"

#include <algorithm>
#include <cmath>

namespace {

glm::vec4 opaque(const glm::vec3& c) { return glm::vec4(c, 1.0f); }

// The model shader leaves out near-black texels (the shield's lattice holes), so
// ground colours never go that dark.
glm::vec3 keepVisible(const glm::vec3& c) { return glm::max(c, glm::vec3(0.16f)); }

}  // namespace

Image paintMarsGround(int size) {
    const Noise noise(11);
    Image image(size, size);
    const glm::vec3 dust(0.80f, 0.46f, 0.27f);
    const glm::vec3 paleDust(0.93f, 0.67f, 0.45f);
    const glm::vec3 rock(0.46f, 0.24f, 0.15f);
    image.paint([&](float u, float v) {
        const float broad = noise.tiled(u, v, 2, 5);
        const float grain = noise.tiled(u, v, 64, 2);
        glm::vec3 c = glm::mix(dust, paleDust, glm::smoothstep(-0.4f, 0.6f, broad));
        c *= 0.92f + 0.12f * grain;

        // Craters: a dark bowl with a bright rim, one in some cells of a coarse grid.
        const Noise::CellSample crater = noise.tiledCells(u, v, 5);
        if (crater.value > 0.55f) {
            const float r = crater.nearest / (0.25f + 0.2f * crater.value);
            const float bowl = 1.0f - glm::smoothstep(0.0f, 0.85f, r);
            const float rim = glm::smoothstep(0.75f, 0.95f, r) * (1.0f - glm::smoothstep(0.95f, 1.25f, r));
            c = glm::mix(c, c * 0.72f, bowl * 0.8f);
            c = glm::mix(c, paleDust * 1.05f, rim * 0.55f);
        }
        // Rocks and pebbles: cells of two sizes, shaded as lit bumps.
        for (int scale : {16, 40}) {
            const Noise::CellSample stone = noise.tiledCells(u + 0.37f, v + 0.11f, scale);
            const float edge = stone.second - stone.nearest;
            const float body = glm::smoothstep(0.1f, 0.3f, edge) * (stone.value > 0.8f ? 1.0f : 0.0f);
            const float lit = 0.85f + 0.3f * (1.0f - stone.nearest);
            c = glm::mix(c, rock * lit * (1.0f + 0.4f * stone.value), body * 0.7f);
        }
        // Wind-blown streaks of paler dust.
        c = glm::mix(c, paleDust, 0.25f * glm::smoothstep(0.55f, 0.9f, noise.tiledRidged(u, v * 0.5f, 4, 3)));
        return opaque(keepVisible(c));
    });
    return image;
}

Image paintRockyGround(int size) {
    const Noise noise(23);
    Image image(size, size);
    const glm::vec3 light(0.70f, 0.66f, 0.62f);
    const glm::vec3 dark(0.42f, 0.38f, 0.36f);
    const glm::vec3 ochre(0.66f, 0.55f, 0.42f);
    image.paint([&](float u, float v) {
        const float warp = noise.tiled(u, v, 4, 4);
        const float bands = 0.5f + 0.5f * std::sin((v + 0.05f * warp) * 6.2831853f * 6.0f + 3.0f * warp);
        glm::vec3 c = glm::mix(dark, light, bands);
        c = glm::mix(c, ochre, glm::smoothstep(0.1f, 0.6f, noise.tiled(u, v, 8, 3)) * 0.5f);
        c *= 0.9f + 0.15f * noise.tiled(u, v, 64, 2);
        const float cracks = noise.tiledRidged(u, v, 8, 4);
        c *= 1.0f - 0.45f * glm::smoothstep(0.72f, 0.95f, cracks);
        const Noise::CellSample rubble = noise.tiledCells(u, v, 20);
        const float chunk = glm::smoothstep(0.04f, 0.18f, rubble.second - rubble.nearest);
        if (rubble.value > 0.7f) c = glm::mix(c, light * (0.8f + 0.4f * (1.0f - rubble.nearest)), chunk * 0.6f);
        return opaque(keepVisible(c));
    });
    return image;
}

Image paintWood(int size) {
    const Noise noise(37);
    Image image(size, size);
    const int planks = 4;
    image.paint([&](float u, float v) {
        const int plank = std::min(static_cast<int>(u * planks), planks - 1);
        const float across = u * planks - static_cast<float>(plank);
        const float shift = 0.37f * static_cast<float>(plank);
        const float rings = std::sin((across * 3.0f + 2.5f * noise.tiled(u, v + shift, 2, 4)) * 12.0f);
        const float grain = noise.tiled(u * 0.25f, v, 64, 2);
        glm::vec3 c = glm::mix(glm::vec3(0.55f, 0.34f, 0.18f), glm::vec3(0.74f, 0.5f, 0.3f), 0.5f + 0.5f * rings);
        c *= 0.9f + 0.1f * grain + 0.06f * static_cast<float>(plank % 2);
        const float seam = std::min(across, 1.0f - across);
        c *= glm::mix(0.55f, 1.0f, glm::smoothstep(0.0f, 0.03f, seam));
        return opaque(keepVisible(c));
    });
    return image;
}

Image paintTiles(int size) {
    const Noise noise(41);
    Image image(size, size);
    const int tiles = 4;
    image.paint([&](float u, float v) {
        const float x = u * tiles;
        const float y = v * tiles;
        const int tx = static_cast<int>(x);
        const int ty = static_cast<int>(y);
        const float fx = x - static_cast<float>(tx);
        const float fy = y - static_cast<float>(ty);
        const float edge = std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
        const float shade = 0.06f * static_cast<float>((tx * 7 + ty * 3) % 4);
        glm::vec3 c = glm::vec3(0.78f, 0.8f, 0.82f) - glm::vec3(shade, shade * 0.6f, 0.0f);
        c *= 0.96f + 0.06f * noise.tiled(u, v, 16, 3);
        const float bevel = glm::smoothstep(0.03f, 0.08f, edge);
        c = glm::mix(glm::vec3(0.35f, 0.33f, 0.3f), c * (0.9f + 0.1f * bevel), glm::smoothstep(0.02f, 0.035f, edge));
        return opaque(keepVisible(c));
    });
    return image;
}
