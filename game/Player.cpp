#include "game/Player.h"

#include "game/ButtonPressedNew.h"
#include "render/CustomCamera.h"
#include "game/Armory.h"
#include "game/Easing.h"
#include "game/MatchEvents.h"
#include "game/ObjectNames.h"
#include "render/HUD.h"

#include <algorithm>
#include <utility>

namespace {

constexpr float kSensorSpeed = 15.0f;   // units per second, forward, back and vertical
constexpr float kLateralFactor = 1.2f;  // sideways is faster than the other directions
constexpr float kCraftEasing = 0.9f;    // share of the gap closed per tenth of a second
// Sideways the camera keeps pace with the craft: any slower and a strafe to a side wall
// leaves the craft at the window's edge.
constexpr float kCameraEasingX = 0.9f;
constexpr float kCameraEasingYZ = 0.85f;
constexpr float kCameraLookAhead = 100.0f;  // units down the track
constexpr float kFullReloadTime = 2.0f;     // seconds from empty to full

// Keys give a whole step, the gamepad any share of one; together never more than a key.
float steering(bool negativeKey, bool positiveKey, float pad) {
    const float keys = static_cast<float>(positiveKey) - static_cast<float>(negativeKey);
    return std::clamp(keys + pad, -1.0f, 1.0f);
}

// A wall that blocks a key's direction stops the gamepad going that way too.
float unblocked(float pad, bool negativeBlocked, bool positiveBlocked) {
    if ((pad < 0.0f && negativeBlocked) || (pad > 0.0f && positiveBlocked)) return 0.0f;
    return pad;
}

btVector3 sensorStep(const ButtonPressedNew& b, float s) {
    const bool down = b.c || b.shift;  // once, even with both keys
    const float right = steering(b.a, b.d, unblocked(b.padRight, b.blockA, b.blockD));
    const float up = steering(down, b.space,
                              unblocked(b.padUp, b.blockC || b.blockShift, b.blockSpace));
    const float back = steering(b.w, b.s, unblocked(-b.padForward, b.blockW, b.blockS));
    return btVector3(kLateralFactor * s * right, s * up, s * back);
}

void followWithCamera(CustomCamera& camera, const btVector3& gap, float dt) {
    camera.position.x += easingFactor(kCameraEasingX, dt) * gap.x();
    camera.position.y += easingFactor(kCameraEasingYZ, dt) * gap.y();
    camera.position.z += easingFactor(kCameraEasingYZ, dt) * gap.z();
    camera.target = glm::vec3(0.0f, 0.0f, camera.position.z - kCameraLookAhead);
}

}  // namespace

Player::Player(std::shared_ptr<Model> ownModel, int fullHealth, int fullAmmo, GameObject* sensor, float mass,
               std::unique_ptr<btCollisionShape> collisionShape, const btVector3& position,
               const btQuaternion& rotation, std::shared_ptr<Shader> drawingShader)
    : Combatant(std::move(ownModel), fullHealth, fullAmmo, sensor, mass, std::move(collisionShape), position,
                rotation, std::move(drawingShader)) {
    setName(std::string(kPlayerName));
    sensor->setName(std::string(kSensorName));
}

void Player::steer(const ButtonPressedNew& buttons, CustomCamera& camera, float dt) {
    GameObject& sensor = *getGuide();
    btTransform sensorPose = sensor.motionTransform();
    btTransform craftPose = motionTransform();

    sensorPose.getOrigin() += sensorStep(buttons, dt * kSensorSpeed);
    const btVector3 gap = sensorPose.getOrigin() - craftPose.getOrigin();
    craftPose.getOrigin() += gap * easingFactor(kCraftEasing, dt);
    followWithCamera(camera, gap, dt);

    sensor.setMotionTransform(sensorPose);
    setMotionTransform(craftPose);
}

void Player::updateWeapons(ButtonPressedNew& buttons, Armory& armory, MatchEvents& events,
                           float now) {
    if (getAmmo() < 1) reload(buttons, events, now);

    const btVector3 craft = position();
    if (buttons.mouseLeft) {
        armory.firePrimaryShot(craft, getShader());
        spendRounds(1, now);
        buttons.mouseLeft = false;
    } else if (buttons.mouseRight) {
        armory.fireHeavyShot(craft, getAmmo() / 2, getShader());
        spendRounds(getAmmo(), now);
        buttons.mouseRight = false;
    }
}

// The bar shows the reload creeping back; both fire flags are swallowed until it is done.
void Player::reload(ButtonPressedNew& buttons, MatchEvents& events, float now) {
    const float secondsPerRound = kFullReloadTime / static_cast<float>(getMaxAmmo());
    const float progress = (now - getReloadStart()) / secondsPerRound;
    const float roundsToLoad = static_cast<float>(getMaxAmmo());
    if (progress <= roundsToLoad) {
        if (ammoBar) ammoBar->setFill(progress, roundsToLoad);
        if (buttons.mouseLeft || buttons.mouseRight) events.note(MatchEvent::EmptyMagazine);
        buttons.mouseLeft = false;
        buttons.mouseRight = false;
        return;
    }
    resetAmmo();
    if (ammoBar) ammoBar->setFill(getAmmo(), getMaxAmmo());
    events.note(MatchEvent::Reload);
}

void Player::spendRounds(int rounds, float now) {
    addAmmo(-rounds);
    if (ammoBar) ammoBar->setFill(static_cast<float>(getAmmo()), static_cast<float>(getMaxAmmo()));
    if (getAmmo() < 1) setReloadStart(now);
}
