#include "app/SceneLighting.h"

#include "render/CustomCamera.h"
#include "framework/Shader.h"

#include <string>

namespace {

constexpr float kBaseSunBrightness = 0.7f;
constexpr float kSunBrightnessPerMultiplierStep = 0.1f;

// Named once so that the per-frame loads build no strings.
const std::string kViewProjectionUniform = "viewProjMatrix";
const std::string kCameraUniform = "camera_world";
const std::string kSunColorUniform = "dirL.color";
const std::string kSunDirectionUniform = "dirL.direction";
const std::string kGlowColorUniform = "pointL.color";
const std::string kGlowPositionUniform = "pointL.position";
const std::string kGlowAttenuationUniform = "pointL.attenuation";

}  // namespace

DirectionalLight::DirectionalLight(float illuminationMultiplier)
    : color(kBaseSunBrightness + kSunBrightnessPerMultiplierStep * (illuminationMultiplier - 1.0f)),
      direction(glm::normalize(glm::vec3(1.0f, -1.0f, -1.0f))) {}

void PointLight::hoverAbove(const glm::vec3& bossPosition) {
    position = bossPosition + glm::vec3(0.0f, kPointLightHoverHeight, 0.0f);
}

void setFrameUniforms(Shader& shader, CustomCamera& camera, const DirectionalLight& sun,
                      const PointLight& glow) {
    glUseProgram(shader.program);
    camera.viewProjection = camera.projection * camera.view;
    shader.setUniform(kViewProjectionUniform, camera.viewProjection);
    shader.setUniform(kCameraUniform, camera.position);
    shader.setUniform(kSunColorUniform, sun.color);
    shader.setUniform(kSunDirectionUniform, sun.direction);
    shader.setUniform(kGlowColorUniform, glow.color);
    shader.setUniform(kGlowPositionUniform, glow.position);
    shader.setUniform(kGlowAttenuationUniform, glow.attenuation);
}

glm::mat4 hudProjection(float width, float height) {
    glm::mat4 m(0.0f);
    m[0][0] = 2.0f / width;
    m[1][1] = -2.0f / height;
    m[2][2] = -1.0f;
    m[3][0] = -1.0f;
    m[3][1] = 1.0f;
    m[3][3] = 1.0f;
    return m;
}

glm::mat4 setHudProjection(Shader& shader, float width, float height) {
    const glm::mat4 projection = hudProjection(width, height);
    glUseProgram(shader.program);
    shader.setUniform(kViewProjectionUniform, projection);
    return projection;
}
