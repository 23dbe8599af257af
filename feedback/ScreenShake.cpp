#include "feedback/ScreenShake.h"

#include "render/CustomCamera.h"
#include "game/MatchEvents.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.2831853f;

// Three unrelated frequencies (hertz) and phases, so the wobble never settles into a
// pattern, and none of them starts at zero: a kick shows in the very next frame.
struct Wobble {
    float hertz;
    float phase;
    float share;  ///< of the largest angle
};
constexpr Wobble kYaw{17.0f, 1.1f, 1.0f};
constexpr Wobble kPitch{13.0f, 0.4f, 0.8f};
constexpr Wobble kRoll{7.0f, 2.3f, 0.5f};

float wobbleAngle(const Wobble& wobble, float seconds, float largestRadians) {
    return largestRadians * wobble.share * std::sin(kTwoPi * wobble.hertz * seconds + wobble.phase);
}

}  // namespace

void ScreenShake::react(const MatchEvents& events) {
    if (events.happened(MatchEvent::PlayerHit)) kick(kHitTaken);
    if (events.happened(MatchEvent::BossDestroyed) || events.happened(MatchEvent::PlayerDestroyed))
        kick(kDestroyed);
}

void ScreenShake::kick(float kickStrength) {
    if (!enabled) return;
    strength = std::clamp(std::max(strength, kickStrength), 0.0f, 1.0f);
    elapsed = 0.0f;
}

void ScreenShake::update(float frameTime) {
    if (!isShaking()) return;
    strength = std::max(strength - frameTime / kDuration, 0.0f);
    elapsed += frameTime;
}

// The turn is applied in eye space (left of the view), so the scene turns about the eye.
glm::mat4 ScreenShake::shaken(const glm::mat4& view) const {
    if (!isShaking()) return view;
    const float largest = glm::radians(kMaxAngle) * strength * strength;
    glm::mat4 turn(1.0f);
    turn = glm::rotate(turn, wobbleAngle(kYaw, elapsed, largest), glm::vec3(0.0f, 1.0f, 0.0f));
    turn = glm::rotate(turn, wobbleAngle(kPitch, elapsed, largest), glm::vec3(1.0f, 0.0f, 0.0f));
    turn = glm::rotate(turn, wobbleAngle(kRoll, elapsed, largest), glm::vec3(0.0f, 0.0f, 1.0f));
    return turn * view;
}

ShakenView::ShakenView(CustomCamera& shakenCamera, const ScreenShake& shake)
    : camera(shakenCamera), steadyView(shakenCamera.view) {
    camera.view = shake.shaken(steadyView);
}

ShakenView::~ShakenView() {
    camera.view = steadyView;
    camera.viewProjection = camera.projection * steadyView;
}
