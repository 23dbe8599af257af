#pragma once

#include <glm/glm.hpp>

class CustomCamera;
class MatchEvents;

/// A small, quickly fading wobble of the 3D scene's view when the craft is hit or a
/// vehicle is destroyed, so a player feels what hit them.
///
/// A kick sets the shake's strength; the strength falls to nothing within kDuration
/// seconds of the last kick, and the view turns by up to kMaxAngle times its square, so
/// the wobble eases out. Only the view of the 3D scene turns (see ShakenView): the sky,
/// the HUD and the camera's own position never move. Time flows in through update(),
/// so a test drives it frame by frame. A disabled shake ("[camera] screen_shake = false")
/// never moves.
class ScreenShake {
public:
    static constexpr float kDuration = 0.3f;  ///< seconds from a full kick to stillness
    static constexpr float kMaxAngle = 1.2f;  ///< degrees of turn at a full kick
    static constexpr float kHitTaken = 0.7f;  ///< strength of a kick for a hit on the craft
    static constexpr float kDestroyed = 1.0f; ///< strength of a kick for a destroyed vehicle

    explicit ScreenShake(bool shakes = true) : enabled(shakes) {}

    /// Kicks for this frame's hits on the craft and for a destroyed boss or craft.
    void react(const MatchEvents& events);
    /// Raises the shake to `strength` (0..1) unless it is stronger already, and starts
    /// the wobble over.
    void kick(float strength);
    /// Lets `frameTime` seconds of the shake pass.
    void update(float frameTime);

    bool isShaking() const { return strength > 0.0f; }
    /// `view` turned by this moment's shake (a turn about the eye); `view` itself when still.
    glm::mat4 shaken(const glm::mat4& view) const;

private:
    bool enabled;
    float strength = 0.0f;  ///< 0..1; falls by 1 every kDuration seconds
    float elapsed = 0.0f;   ///< seconds since the last kick: the phase of the wobble
};

/// The camera's view shaken while the 3D scene is drawn, and steady again when this goes
/// (the view-projection rebuilt from it): the HUD, the threat markers and the camera's
/// own step only ever see the steady view.
class ShakenView {
public:
    ShakenView(CustomCamera& camera, const ScreenShake& shake);
    ~ShakenView();
    ShakenView(const ShakenView&) = delete;
    ShakenView& operator=(const ShakenView&) = delete;

private:
    CustomCamera& camera;
    glm::mat4 steadyView;
};
