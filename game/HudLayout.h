#pragma once

#include <glm/glm.hpp>

/// Window fractions (origin top left, y down) and RGBA colour of one HUD element.
struct HudLayout {
    float x;
    float y;
    float w;
    float h;
    glm::vec4 color;
};

// The bars and the icon the game builds with the player and the boss. The shell's labels
// are laid out inside the same rectangles.
inline const HudLayout kPlayerHealthBar{0.05f, 0.9f, 0.65f, 0.05f, {0.2f, 0.2f, 1.0f, 0.9f}};
inline const HudLayout kHeavyShotIcon{0.71f, 0.9f, 0.03f, 0.05f, {1.0f, 1.0f, 1.0f, 1.0f}};
inline const HudLayout kAmmoBar{0.75f, 0.9f, 0.2f, 0.05f, {0.2f, 0.8f, 1.0f, 0.5f}};
inline const HudLayout kBossHealthBar{0.05f, 0.05f, 0.9f, 0.05f, {1.0f, 0.2f, 0.2f, 0.9f}};
