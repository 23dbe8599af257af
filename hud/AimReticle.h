#pragma once

#include "render/HUD.h"

#include <glm/glm.hpp>

#include <array>
#include <memory>

class Shader;

/// The aim cue: four short ticks around the point where the craft's primary shots will
/// cross the boss's distance, drawn with the HUD shader over the scene. While the boss is
/// within the heavy shot's reach the ticks are longer, thicker and the heavy shot's plasma
/// blue, so a player sees when the heavy shot is worth its magazine.
///
/// The ticks are sized by the window's height, so they stay square on any window;
/// fitToWindow() rebuilds both looks for a new size. Moving them or switching between the
/// looks each frame allocates nothing.
/// Needs a current GL context to construct, rebuild and draw.
class AimReticle {
public:
    AimReticle(Shader* hudShader, float windowWidth, float windowHeight);

    void fitToWindow(float width, float height);
    /// Centres the ticks on `target` (world units) as `viewProjection` shows it; hides them
    /// when it lies behind the eye or outside the window.
    void aimAt(const glm::vec3& target, const glm::mat4& viewProjection);
    void showHeavyShotReach(bool inReach) { heavyReach = inReach; }
    /// Blending and the HUD projection are the caller's, as for the bars.
    void draw() const;

private:
    using Ticks = std::array<std::unique_ptr<HUD>, 4>;  ///< left, right, above, below

    void buildTicks(Ticks& set, float lengthScale, float widthScale, const glm::vec4& colour);
    void placeTicks(Ticks& set);

    Shader* shader;  ///< not owned
    float windowWidth;
    float windowHeight;
    Ticks ticks;
    Ticks reachTicks;  ///< the look while the boss is within the heavy shot's reach
    glm::vec2 aim{0.5f};  ///< window fractions, y growing downwards
    bool shown = false;
    bool heavyReach = false;
};
