#pragma once

#include <glm/glm.hpp>

#include <array>

/// The layout a HUD is built from: two triangles over a w x h rectangle at (x, y), all in
/// fractions of the window, y growing downwards. Position (0, 0) carries texture
/// coordinate (0, 1), so a flipped image shows upright.
struct HudQuad {
    std::array<glm::vec2, 6> positions;
    std::array<glm::vec2, 6> textureCoordinates;
    float w = 0.0f;
    float h = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    glm::vec4 color{1.0f};  ///< RGBA
};

HudQuad makeHudQuad(float x, float y, float w, float h, const glm::vec4& color);
