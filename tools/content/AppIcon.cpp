#include "tools/content/AppIcon.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSamplesPerAxis = 4;

// Shapes in tile coordinates: u to the right, v down, both 0..1.
constexpr float kTileInset = 0.03f;
constexpr float kTileCorner = 0.2f;
constexpr float kHorizon = 0.6f;
const glm::vec2 kBossCentre(0.5f, 0.4f);
constexpr float kBossRadius = 0.085f;

const glm::vec3 kSkyTop(0.05f, 0.06f, 0.16f);
const glm::vec3 kSkyLow(0.42f, 0.16f, 0.24f);
const glm::vec3 kGroundNear(0.36f, 0.12f, 0.06f);
const glm::vec3 kGroundFar(0.78f, 0.38f, 0.2f);
const glm::vec3 kGridLine(1.0f, 0.62f, 0.35f);
const glm::vec3 kBossRed(1.0f, 0.16f, 0.12f);
const glm::vec3 kCraftTeal(0.0f, 0.8f, 0.7f);
const glm::vec3 kCraftShadowSide(0.0f, 0.45f, 0.42f);
const glm::vec3 kRim(0.55f, 0.9f, 1.0f);

// Signed distance to the rounded tile: negative inside.
float tileDistance(const glm::vec2& p) {
    const glm::vec2 halfSize(0.5f - kTileInset - kTileCorner);
    const glm::vec2 q = glm::abs(p - glm::vec2(0.5f)) - halfSize;
    return glm::length(glm::max(q, glm::vec2(0.0f))) + std::min(std::max(q.x, q.y), 0.0f) -
           kTileCorner;
}

// Which side of the line a->b the point lies on (positive: left, with v pointing down).
float side(const glm::vec2& a, const glm::vec2& b, const glm::vec2& p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

bool insideTriangle(const glm::vec2& a, const glm::vec2& b, const glm::vec2& c, const glm::vec2& p) {
    const float ab = side(a, b, p);
    const float bc = side(b, c, p);
    const float ca = side(c, a, p);
    return (ab >= 0.0f && bc >= 0.0f && ca >= 0.0f) || (ab <= 0.0f && bc <= 0.0f && ca <= 0.0f);
}

// The plain runs toward the horizon; lines of a grid converge on the boss's point.
glm::vec3 ground(const glm::vec2& p) {
    const float depth = (p.y - kHorizon) / (1.0f - kHorizon);  // 0 far .. 1 near
    glm::vec3 c = glm::mix(kGroundFar, kGroundNear, std::sqrt(depth));
    const float across = (p.x - 0.5f) / std::max(depth, 0.02f);
    const float rail = std::fabs(across * 2.5f - std::round(across * 2.5f));
    const float rung = std::fabs(1.0f / std::max(depth, 0.05f) * 0.6f -
                                 std::round(1.0f / std::max(depth, 0.05f) * 0.6f));
    const float line = std::max(1.0f - glm::smoothstep(0.0f, 0.06f, rail),
                                1.0f - glm::smoothstep(0.0f, 0.08f * depth + 0.02f, rung));
    return glm::mix(c, kGridLine, line * 0.45f * depth);
}

glm::vec3 scenery(const glm::vec2& p) {
    glm::vec3 c = p.y < kHorizon ? glm::mix(kSkyTop, kSkyLow, std::pow(p.y / kHorizon, 1.6f))
                                 : ground(p);
    const float boss = glm::length(p - kBossCentre);
    c += kBossRed * 0.55f * std::exp(-boss * boss / 0.012f);  // the glow reaches the ground
    if (boss < kBossRadius) {
        const float lit = 1.0f - boss / kBossRadius;
        c = glm::mix(kBossRed * 0.55f, glm::vec3(1.0f, 0.75f, 0.6f), lit * lit);
    }
    return c;
}

// The craft from behind: a delta with a notch at its tail, lit from the left.
bool craft(const glm::vec2& p, glm::vec3& colour) {
    const glm::vec2 nose(0.5f, 0.56f);
    const glm::vec2 leftWing(0.2f, 0.86f);
    const glm::vec2 rightWing(0.8f, 0.86f);
    const glm::vec2 tail(0.5f, 0.76f);
    if (!insideTriangle(nose, leftWing, tail, p) && !insideTriangle(nose, tail, rightWing, p))
        return false;
    colour = p.x < 0.5f ? kCraftTeal : kCraftShadowSide;
    // A bright rim along the leading edges.
    const float edge = std::min(std::fabs(side(nose, leftWing, p)) / glm::length(leftWing - nose),
                                std::fabs(side(rightWing, nose, p)) / glm::length(rightWing - nose));
    if (edge < 0.018f) colour = glm::mix(colour, kRim, 0.7f);
    return true;
}

glm::vec4 sample(const glm::vec2& p) {
    if (tileDistance(p) > 0.0f) return glm::vec4(0.0f);
    glm::vec3 colour = scenery(p);
    craft(p, colour);
    // A thin light border keeps the tile's edge visible on dark panels.
    if (tileDistance(p) > -0.012f) colour = glm::mix(colour, kRim, 0.5f);
    return glm::vec4(colour, 1.0f);
}

}  // namespace

Image paintAppIcon(int size) {
    Image image(size, size, glm::vec4(0.0f));
    const float pixel = 1.0f / static_cast<float>(size);
    const float step = pixel / kSamplesPerAxis;
    image.paint([&](float u, float v) {
        glm::vec3 premultiplied(0.0f);
        float coverage = 0.0f;
        for (int sy = 0; sy < kSamplesPerAxis; ++sy)
            for (int sx = 0; sx < kSamplesPerAxis; ++sx) {
                const glm::vec2 p(u - 0.5f * pixel + (static_cast<float>(sx) + 0.5f) * step,
                                  v - 0.5f * pixel + (static_cast<float>(sy) + 0.5f) * step);
                const glm::vec4 s = sample(p);
                premultiplied += glm::vec3(s) * s.a;
                coverage += s.a;
            }
        // Transparent pixels keep the tile's dark colour: no bright fringe when scaled.
        if (coverage <= 0.0f) return glm::vec4(kSkyTop, 0.0f);
        return glm::vec4(premultiplied / coverage, coverage / (kSamplesPerAxis * kSamplesPerAxis));
    });
    return image;
}
