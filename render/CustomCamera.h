#pragma once

#include <glm/glm.hpp>

#include <optional>

/// The free camera's flight keys held this frame; the input side reads the keyboard.
struct FreeFlightKeys {
    bool forward = false;
    bool back = false;
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool fast = false;  ///< doubles the speed
};

/// The one camera of the game, shared by the shell, the game and the particle system.
///
/// In play the game moves its eye along -z with the scene and looks straight ahead; after
/// a match it keeps looking at the wreck; in free-camera mode it is flown
/// with the keyboard and the mouse. Angles are in degrees, distances in world units,
/// speeds in units per second. Shared through std::shared_ptr.
class CustomCamera {
public:
    /// Sets the perspective projection for a window of `width` x `height` pixels.
    /// `fovDegrees` is the vertical field of view.
    CustomCamera(float width, float height, float fovDegrees, float nearPlane, float farPlane);

    /// Rebuilds `projection` for a new window size, keeping field of view and clip planes.
    void setViewportSize(float width, float height);

    /// Recomputes front, right, up and view from yaw, pitch, position and worldUp.
    void updateCameraVectors();
    /// Keeps the eye where it is before a match step moves it, for drawing between steps.
    void rememberPosition() { previousPosition = position; }
    /// The view from `alpha` (0 to 1) of the way between the eye one step ago and the eye
    /// now: straight ahead, 100 units down the track, when `downTheTrack`, else at `target`.
    void lookBetweenSteps(float alpha, bool downTheTrack);
    /// Flies along the camera's own axes at the slow or fast free-camera speed.
    void moveFreeCamera(const FreeFlightKeys& keys, float dt);
    /// Turns by the cursor's movement since the last sample; pitch stays within +-89.
    void mouseLook(float cursorX, float cursorY);

    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 viewProjection{1.0f};  ///< projection x view, refreshed with the frame uniforms
    float yaw = 0.0f;
    float pitch = 0.0f;
    glm::vec3 target{0.0f};
    glm::vec3 position{0.0f};
    glm::vec3 previousPosition{0.0f};  ///< the eye one match step ago
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f};
    glm::vec3 right{0.0f};
    glm::vec3 worldUp{0.0f};
    float lastX = 0.0f;  ///< last cursor position, window pixels
    float lastY = 0.0f;
    bool firstMouse = true;
    float movementSpeed = 10.0f;
    float mouseSensitivity = 0.3f;  ///< degrees per cursor pixel

private:
    float fovDegrees;
    float nearPlane;
    float farPlane;
};

/// The perspective projection the camera uses: OpenGL conventions, [column][row].
glm::mat4 perspectiveProjection(float fovDegrees, float aspect, float nearPlane, float farPlane);

/// Where `point` (world units) shows in the window through `viewProjection`, in fractions of
/// the window with y growing downwards, as the HUD places things; nothing for a point at
/// or behind the eye. Points outside the view give fractions outside 0..1.
std::optional<glm::vec2> windowFraction(const glm::vec3& point, const glm::mat4& viewProjection);

constexpr float kSlowFreeCameraSpeed = 10.0f;  // units per second
constexpr float kFastFreeCameraSpeed = 20.0f;
constexpr float kMaxPitch = 89.0f;  // degrees; keeps the look-at away from the poles
