#pragma once

#include "render/HUD.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

class Shader;

/// The aim cue: four short ticks around the point where the craft's primary shots will
/// cross the boss's distance, drawn with the HUD shader over the scene.
///
/// The ticks are sized by the window's height, so they stay square on any window;
/// fitToWindow() rebuilds them for a new size. Moving them each frame allocates nothing.
/// Needs a current GL context to construct, rebuild and draw.
class AimReticle {
public:
    AimReticle(Shader* hudShader, float windowWidth, float windowHeight);

    void fitToWindow(float width, float height);
    /// Centres the ticks on `target` (world units) as `viewProjection` shows it; hides them
    /// when it lies behind the eye or outside the window.
    void aimAt(const glm::vec3& target, const glm::mat4& viewProjection);
    /// Blending and the HUD projection are the caller's, as for the bars.
    void draw() const;

private:
    void placeTicks();

    Shader* shader;  ///< not owned
    float windowWidth;
    float windowHeight;
    std::array<std::unique_ptr<HUD>, 4> ticks;  ///< left, right, above, below
    glm::vec2 aim{0.5f};  ///< window fractions, y growing downwards
    bool shown = false;
};
