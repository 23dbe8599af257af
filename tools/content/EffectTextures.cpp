#include "tools/content/EffectTextures.h"

#include "tools/content/Noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kSqrt3 = 1.7320508f;
// A pointy-top hex lattice with unit circumradius repeats every (sqrt 3, 3); 7 cells
// across and 4 double rows down fit the square with 1% squash.
constexpr float kHexColumns = 7.0f;
constexpr float kHexDoubleRows = 4.0f;

// Distance from the nearest hexagon centre to its edge, measured inward (0 on an edge).
float hexEdgeDistance(float u, float v, glm::vec2& cell) {
    const glm::vec2 p(u * kHexColumns * kSqrt3, v * kHexDoubleRows * 3.0f);
    const glm::vec2 spacing(kSqrt3, 3.0f);
    const glm::vec2 a = glm::round(p / spacing) * spacing;
    const glm::vec2 b = glm::round((p - glm::vec2(kSqrt3 * 0.5f, 1.5f)) / spacing) * spacing + glm::vec2(kSqrt3 * 0.5f, 1.5f);
    const bool nearerA = glm::length(p - a) < glm::length(p - b);
    const glm::vec2 d = glm::abs(p - (nearerA ? a : b));
    cell = nearerA ? a : b;
    const float hexDistance = std::max(d.x, 0.5f * d.x + 0.5f * kSqrt3 * d.y);
    return kSqrt3 * 0.5f - hexDistance;
}

}  // namespace

Image paintShieldLattice(int size) {
    const Noise noise(53);
    Image image(size, size, glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    image.paint([&](float u, float v) {
        glm::vec2 cell;
        const float edge = hexEdgeDistance(u, v, cell);
        const float line = 1.0f - glm::smoothstep(0.03f, 0.08f, edge);
        const float glow = 1.0f - glm::smoothstep(0.06f, 0.2f, edge);
        const float pulse = 0.75f + 0.25f * noise.tiled(u, v, 4, 3);
        const glm::vec3 core(0.75f, 0.97f, 1.0f);
        const glm::vec3 halo(0.1f, 0.55f, 1.0f);
        // Beyond the glow the cell stays black: that is what the shader cuts away.
        const glm::vec3 c = (core * line + halo * glow * 0.55f * (1.0f - line)) * pulse;
        return glm::vec4(glow > 0.02f ? c : glm::vec3(0.0f), 1.0f);
    });
    return image;
}

Image paintPlasma(int size, bool cool) {
    const Noise noise(cool ? 61 : 67);
    Image image(size, size);
    const glm::vec3 deep = cool ? glm::vec3(0.1f, 0.45f, 0.95f) : glm::vec3(0.75f, 0.08f, 0.35f);
    const glm::vec3 mid = cool ? glm::vec3(0.35f, 0.9f, 1.0f) : glm::vec3(1.0f, 0.35f, 0.25f);
    const glm::vec3 hot = cool ? glm::vec3(0.95f, 1.0f, 1.0f) : glm::vec3(1.0f, 0.9f, 0.55f);
    image.paint([&](float u, float v) {
        const float warp = noise.tiled(u, v, 4, 3);
        const float swirl = noise.tiled(u + 0.15f * warp, v - 0.15f * warp, 4, 5);
        const float arcs = noise.tiledRidged(u + 0.1f * warp, v, 4, 4);
        glm::vec3 c = glm::mix(deep, mid, glm::smoothstep(-0.5f, 0.4f, swirl));
        c = glm::mix(c, hot, glm::smoothstep(0.7f, 0.95f, arcs));
        return glm::vec4(glm::max(c, glm::vec3(0.25f)), 1.0f);
    });
    return image;
}

Image paintMissileLivery(int size) {
    const Noise noise(71);
    Image image(size, size);
    const glm::vec3 hull(0.82f, 0.83f, 0.85f);
    const glm::vec3 warning(0.95f, 0.75f, 0.15f);
    const glm::vec3 charcoal(0.26f, 0.26f, 0.28f);
    const glm::vec3 warhead(0.85f, 0.18f, 0.12f);
    image.paint([&](float u, float v) {
        const float grime = 0.92f + 0.08f * noise.tiled(u, v, 16, 3);
        if (v >= 0.75f) {
            const float f = (v - 0.75f) / 0.25f;
            const glm::vec3 fin = glm::mix(warhead * 0.8f, charcoal * 1.4f, glm::smoothstep(0.45f, 0.55f, f));
            return glm::vec4(fin * grime, 1.0f);
        }
        const float along = v / 0.75f;  // 0 at the tail, 1 at the nose tip
        glm::vec3 c = hull;
        if (along < 0.1f) c = charcoal;
        if (along > 0.3f && along < 0.4f) {
            const float stripe = std::fmod(u * 16.0f + along * 20.0f, 2.0f);
            c = stripe < 1.0f ? warning : charcoal;
        }
        if (along > 0.78f) c = warhead;
        const float seam = std::fabs(std::fmod(along * 12.0f, 1.0f) - 0.5f);
        c *= seam > 0.47f ? 0.8f : 1.0f;
        return glm::vec4(c * grime, 1.0f);
    });
    return image;
}

Image paintSmokePuff(int size) {
    const Noise noise(79);
    Image image(size, size);
    image.paint([&](float u, float v) {
        const glm::vec2 d(u - 0.5f, v - 0.5f);
        const float r = glm::length(d) * 2.0f;
        // Lumpy, not round: the edge wanders with the noise so that overlapping puffs read
        // as one cloud.
        const float billow = noise.tiled(u, v, 2, 4, 0.45f);
        const float lumps = noise.tiled(u + 0.5f, v, 4, 3, 0.5f);
        const float edge = 0.62f + 0.22f * billow + 0.1f * lumps;
        const float alpha = std::clamp((1.0f - glm::smoothstep(0.0f, edge, r)) * (0.85f + 0.3f * lumps), 0.0f, 1.0f);
        const float shade = 0.86f + 0.12f * noise.tiled(u + 0.3f, v, 4, 3, 0.45f);
        return glm::vec4(glm::vec3(shade), r > 0.97f ? 0.0f : alpha);
    });
    return image;
}
