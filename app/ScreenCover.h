#pragma once

#include "effects/PostProcessingFrameBuffer.h"

#include <glm/glm.hpp>

#include <optional>

/// The share of the window that a few boxes cover as one view shows them: where the resolve
/// looks for edges to smooth at full size. Boxes are added one at a time, with nothing kept
/// but the running bounds, so that gathering them each frame allocates nothing.
class ScreenCover {
public:
    explicit ScreenCover(const glm::mat4& viewProjection);

    /// The box from `low` to `high` in the space that `toWorld` places in the world.
    void add(const glm::mat4& toWorld, const glm::vec3& low, const glm::vec3& high);
    /// The window's share the boxes cover, clipped to the window; std::nullopt when none
    /// is in view, and the whole window when one reaches behind the eye, where a projection
    /// no longer bounds it.
    std::optional<WindowShare> share() const;

private:
    glm::mat4 clipFromWorld;
    glm::vec2 least{1.0f};  ///< in normalised device coordinates, y up
    glm::vec2 most{-1.0f};
    bool behindTheEye = false;
};
