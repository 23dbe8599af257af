#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

class HUD;
class Projectile;
class Shader;

/// Where a marker for a point of the world goes: nowhere while the point is on screen,
/// else on the screen's edge in the point's direction.
struct EdgeMarker {
    bool offScreen = false;
    glm::vec2 centre{0.0f};  ///< window fractions from the top left, inset by the margin
};

/// Seen through `viewProjection`, is `world` off screen, and where on the edge (inset by
/// `margin`, a window fraction) does its direction meet it? A point behind the eye is
/// off screen toward the side it lies on; one straight behind, at the bottom.
EdgeMarker edgeMarkerFor(const glm::mat4& viewProjection, const glm::vec3& world, float margin);

/// The markers at the screen's edge that point at homing missiles out of sight, so the
/// player can tell where one will come from.
///
/// A fixed set of kMaxMarkers HUD quads (a dark diamond behind a lit one, in the
/// missiles' own rim colour), built once; place() moves them every frame and draw() draws
/// the ones in use. Placed with the camera's steady view: the screen shake never moves
/// them. Needs a current GL context; the HUD shader is not owned.
class ThreatMarkers {
public:
    static constexpr std::size_t kMaxMarkers = 6;

    explicit ThreatMarkers(Shader* hudShader);
    ~ThreatMarkers();
    ThreatMarkers(const ThreatMarkers&) = delete;
    ThreatMarkers& operator=(const ThreatMarkers&) = delete;

    /// One marker for each of `missiles` that is off screen, up to kMaxMarkers, for a
    /// window of `width` x `height` pixels.
    void place(const std::vector<Projectile*>& missiles, const glm::mat4& viewProjection,
               float width, float height);
    /// Draws the placed markers with the HUD shader, which holds the HUD projection;
    /// blending is the caller's.
    void draw() const;

    std::size_t placedCount() const { return placed; }

private:
    struct Marker {
        std::unique_ptr<HUD> outline;
        std::unique_ptr<HUD> light;
    };

    std::array<Marker, kMaxMarkers> markers;
    std::size_t placed = 0;
};
