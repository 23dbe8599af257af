#include "render/CustomCamera.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {
constexpr float kLookAhead = 100.0f;  // units down the track the glide aims at
constexpr float kDegreesToRadians = 3.14159265358979f / 180.0f;
}  // namespace

glm::mat4 perspectiveProjection(float fovDegrees, float aspect, float nearPlane, float farPlane) {
    const float t = std::tan(fovDegrees * kDegreesToRadians / 2.0f);
    glm::mat4 m(0.0f);
    m[0][0] = 1.0f / (aspect * t);
    m[1][1] = 1.0f / t;
    m[2][2] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    m[2][3] = -1.0f;
    m[3][2] = -(2.0f * farPlane * nearPlane) / (farPlane - nearPlane);
    return m;
}

std::optional<glm::vec2> windowFraction(const glm::vec3& point, const glm::mat4& viewProjection) {
    const glm::vec4 clip = viewProjection * glm::vec4(point, 1.0f);
    if (clip.w <= 0.0f) return std::nullopt;
    const glm::vec2 ndc = glm::vec2(clip) / clip.w;
    return glm::vec2(0.5f + 0.5f * ndc.x, 0.5f - 0.5f * ndc.y);
}

CustomCamera::CustomCamera(float width, float height, float fov, float nearClip, float farClip)
    : lastX(width / 2.0f), lastY(height / 2.0f), fovDegrees(fov), nearPlane(nearClip),
      farPlane(farClip) {
    setViewportSize(width, height);
}

void CustomCamera::setViewportSize(float width, float height) {
    projection = perspectiveProjection(fovDegrees, width / height, nearPlane, farPlane);
}

void CustomCamera::updateCameraVectors() {
    const float yawRadians = yaw * kDegreesToRadians;
    const float pitchRadians = pitch * kDegreesToRadians;
    front = glm::normalize(glm::vec3(std::cos(yawRadians) * std::cos(pitchRadians),
                                     std::sin(pitchRadians),
                                     std::sin(yawRadians) * std::cos(pitchRadians)));
    right = glm::normalize(glm::cross(front, worldUp));
    up = glm::normalize(glm::cross(right, front));
    view = glm::lookAt(position, position + front, up);
}

void CustomCamera::lookBetweenSteps(float alpha, bool downTheTrack) {
    const glm::vec3 eye = glm::mix(previousPosition, position, alpha);
    if (downTheTrack) target = glm::vec3(0.0f, 0.0f, eye.z - kLookAhead);
    view = glm::lookAt(eye, target, up);
}

void CustomCamera::moveFreeCamera(const FreeFlightKeys& keys, float dt) {
    movementSpeed = keys.fast ? kFastFreeCameraSpeed : kSlowFreeCameraSpeed;
    const float step = movementSpeed * dt;
    if (keys.forward) position += front * step;
    if (keys.back) position -= front * step;
    if (keys.left) position -= right * step;
    if (keys.right) position += right * step;
    if (keys.up) position += up * step;
    if (keys.down) position -= up * step;
}

void CustomCamera::mouseLook(float cursorX, float cursorY) {
    float previousX = lastX;
    if (firstMouse) {
        lastY = cursorY;
        previousX = cursorX;
        firstMouse = false;
    }
    const float dx = cursorX - previousX;
    const float dy = lastY - cursorY;
    lastX = cursorX;
    lastY = cursorY;
    yaw += dx * mouseSensitivity;
    pitch = std::clamp(pitch + dy * mouseSensitivity, -kMaxPitch, kMaxPitch);
    updateCameraVectors();
}
