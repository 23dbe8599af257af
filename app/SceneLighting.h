#pragma once

#include <glm/glm.hpp>

class CustomCamera;
class Shader;

/// The scene's sun: white, dimmed or brightened by the settings' illumination multiplier.
struct DirectionalLight {
    /// colour = 0.7 + 0.1 x (multiplier - 1) per channel, not clamped.
    explicit DirectionalLight(float illuminationMultiplier = 1.0f);

    bool enabled = true;  ///< never sent to a shader
    glm::vec3 color;
    glm::vec3 direction;  ///< unit length, pointing away from the light
};

/// The boss's glow: a dim red light that hovers above it.
struct PointLight {
    /// Puts the light at its hover height above the boss's model position.
    void hoverAbove(const glm::vec3& bossPosition);

    bool enabled = true;  ///< never sent to a shader
    glm::vec3 color{0.3f, 0.0f, 0.0f};
    glm::vec3 position{0.0f};
    glm::vec3 attenuation{0.1f, 0.001f, 0.005f};  ///< constant, linear, quadratic
};

/// World units above the boss's origin where its glow hovers.
constexpr float kPointLightHoverHeight = 3.6f;

/// Makes the texture shader current and loads the camera (its `viewProjection` is
/// refreshed here), the eye position and both lights into it.
void setFrameUniforms(Shader& shader, CustomCamera& camera, const DirectionalLight& sun,
                      const PointLight& glow);

/// The window-pixel projection: (0, 0) is the top-left corner, (width, height) the
/// bottom-right one, y grows downwards.
glm::mat4 hudProjection(float width, float height);

/// Makes the HUD shader current and loads hudProjection(width, height) into its
/// "viewProjMatrix". Returns the matrix it loaded, for the shell to keep.
glm::mat4 setHudProjection(Shader& shader, float width, float height);
