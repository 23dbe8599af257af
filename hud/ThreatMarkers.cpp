#include "hud/ThreatMarkers.h"

#include "game/Armory.h"
#include "game/BulletConversion.h"
#include "game/Projectile.h"
#include "render/HUD.h"
#include "render/HudQuad.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kMargin = 0.04f;       // window fraction between the marker and the edge
constexpr float kOutlinePixels = 26.0f;  // the diamonds' diagonals
constexpr float kLightPixels = 16.0f;
constexpr float kQuarterTurn = 0.7853982f;  // radians: a square stood on its corner
const glm::vec4 kOutlineColour(0.05f, 0.08f, 0.02f, 0.85f);
constexpr float kLightOpacity = 0.95f;
constexpr float kBehind = 1e-4f;  // clip w at or below this: on or behind the eye's plane

// A unit quad with its centre at `centre` (window pixels), turned onto its corner and
// `diagonal` pixels from corner to corner.
glm::mat4 diamondAt(const glm::vec2& centre, float diagonal) {
    const float side = diagonal / std::sqrt(2.0f);
    glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(centre, 0.0f));
    m = glm::rotate(m, kQuarterTurn, glm::vec3(0.0f, 0.0f, 1.0f));
    m = glm::scale(m, glm::vec3(side, side, 1.0f));
    return glm::translate(m, glm::vec3(-0.5f, -0.5f, 0.0f));
}

std::unique_ptr<HUD> unitQuad(Shader* shader, const glm::vec4& colour) {
    return std::make_unique<HUD>(makeHudQuad(0.0f, 0.0f, 1.0f, 1.0f, colour), shader, 1.0f, 1.0f);
}

}  // namespace

EdgeMarker edgeMarkerFor(const glm::mat4& viewProjection, const glm::vec3& world, float margin) {
    const glm::vec4 clip = viewProjection * glm::vec4(world, 1.0f);
    const bool inFront = clip.w > kBehind;
    if (inFront && std::fabs(clip.x) <= clip.w && std::fabs(clip.y) <= clip.w) return {};

    // Undivided, x and y keep the side a point lies on even behind the eye, where dividing
    // by a negative w would mirror it.
    glm::vec2 direction(clip.x, clip.y);
    if (glm::length(direction) < kBehind) direction = glm::vec2(0.0f, -1.0f);
    const float reach = 1.0f - 2.0f * margin;  // of the half-screen, in normalised units
    const float stretch = std::max(std::fabs(direction.x), std::fabs(direction.y));
    const glm::vec2 onEdge = direction / stretch * reach;
    return {true, glm::vec2(0.5f + 0.5f * onEdge.x, 0.5f - 0.5f * onEdge.y)};
}

ThreatMarkers::ThreatMarkers(Shader* hudShader) {
    for (Marker& marker : markers) {
        marker.outline = unitQuad(hudShader, kOutlineColour);
        marker.light = unitQuad(hudShader, glm::vec4(kMissileRimColour, kLightOpacity));
    }
}

ThreatMarkers::~ThreatMarkers() = default;

void ThreatMarkers::place(const std::vector<Projectile*>& missiles,
                          const glm::mat4& viewProjection, float width, float height) {
    placed = 0;
    for (const Projectile* missile : missiles) {
        if (placed == kMaxMarkers) break;
        const EdgeMarker edge = edgeMarkerFor(viewProjection, toGlm(missile->position()), kMargin);
        if (!edge.offScreen) continue;
        const glm::vec2 centre = edge.centre * glm::vec2(width, height);
        markers[placed].outline->modelMatrix = diamondAt(centre, kOutlinePixels);
        markers[placed].light->modelMatrix = diamondAt(centre, kLightPixels);
        ++placed;
    }
}

void ThreatMarkers::draw() const {
    for (std::size_t i = 0; i < placed; ++i) {
        markers[i].outline->draw();
        markers[i].light->draw();
    }
}
