#include "game/Armory.h"

#include "game/BulletOpenGl.h"
#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "render/Model.h"

#include <algorithm>
#include <utility>

namespace {

constexpr float kMotionThreshold = 0.1f;  // every kind sweeps once it moves this far per step
const btQuaternion kNoRotation(0.0f, 0.0f, 0.0f, 1.0f);
const btQuaternion kMissileRotation(1.0f, 0.0f, 0.0f, 1.0f);  // lies along z

constexpr int kPrimaryDamage = 1;
constexpr float kPrimaryMass = 1.0f;
constexpr float kPrimaryRadius = 0.4f;
const btVector3 kPrimaryMuzzle(0.0f, 0.0f, -3.0f);
const btVector3 kPrimaryImpulse(0.0f, 0.0f, -80.0f);
const btVector3 kPrimaryImpulsePoint(0.1f, 0.0f, 0.1f);

constexpr float kHeavyMass = 1000.0f;
constexpr float kHeavyRadius = 4.0f;
constexpr float kHeavyHeadStart = 2.5f;  // seconds taken off its life, leaving 0.5 s
const btVector3 kHeavyMuzzle(0.0f, 0.0f, -4.0f);
constexpr float kHeavySpeed = 60.0f;  // units/s
// Units short of the flight's full gain on the scene, for the reach the reticle shows: a
// contact found in the shot's last step comes after it has expired. Measured in the match
// (tests/ProjectileTest.cpp), shots reached 25.5 units from the craft to the boss, not 26.
constexpr float kHeavyReachMargin = 0.75f;
const btVector3 kHeavyImpulse(0.0f, 0.0f, -kHeavySpeed * kHeavyMass);
const btVector3 kHeavySpin(0.0f, 0.0f, 100000.0f);

constexpr int kBossShotDamage = 2;
constexpr float kBossShotMass = 1.0f;
constexpr float kBossShotRadius = 0.8f;
constexpr float kBossShotSpeed = 20.0f;
constexpr float kBossShotSweepRadius = 0.7f;
constexpr float kBossShotImpulseHeight = 0.05f;

constexpr int kMissileDamage = 1;
constexpr float kMissileMass = 1.0f;
constexpr float kMissileRadius = 0.35f;
constexpr float kMissileHeight = 1.5f;
constexpr float kMissileSweepRadius = 0.4f;

constexpr float kTemplateSpecularAlpha = 1.0f;

// The boss's shots light themselves so that they read against the pink fog and ground:
// a hot red orb with a golden outline, a white missile outlined in acid green.
const glm::vec3 kOrbGlow(1.0f, 0.16f, 0.06f);
const glm::vec3 kOrbRim(1.0f, 0.86f, 0.25f);
const glm::vec3 kMissileGlow(0.95f, 0.95f, 0.9f);

// How far `value` lies outside [low, high]; 0 inside.
float gapTo(float value, float low, float high) { return std::max({low - value, value - high, 0.0f}); }

// A template's material vector is its coefficients followed by the specular alpha.
void finishTemplate(Model& model, const char* texture, const glm::vec3& coefficients) {
    model.setTexture(texture);
    model.materialCoefficients = coefficients;
    model.specularAlpha = kTemplateSpecularAlpha;
}

}  // namespace

Armory::Armory(BulletOpenGl& owner) : game(owner) { clearProjectileModels(); }

void Armory::loadProjectileModels() {
    bossShotModel = std::make_shared<Model>("assets/models/BossProjectileTest02.dae");
    bossShotModel->setColor(glm::vec3(0.5f));
    finishTemplate(*bossShotModel, "enemyBullet.jpg", glm::vec3(1.0f, 0.0f, 1.0f));
    bossShotModel->glowColor = kOrbGlow;
    bossShotModel->rimColor = kOrbRim;

    playerShotModel = std::make_shared<Model>("assets/models/PlayerProjectile.dae");
    finishTemplate(*playerShotModel, "playerBullet.jpg", glm::vec3(1.0f, 0.0f, 1.0f));

    missileModel = std::make_shared<Model>("assets/models/missileTest.dae");
    finishTemplate(*missileModel, "missile.jpg", glm::vec3(0.7f, 0.5f, 1.0f));
    missileModel->glowColor = kMissileGlow;
    missileModel->rimColor = kMissileRimColour;

    playerHeavyShotModel = std::make_shared<Model>("assets/models/test1dae.dae");
    finishTemplate(*playerHeavyShotModel, "playerBullet.jpg", glm::vec3(1.0f, 0.0f, 1.0f));
}

void Armory::clearProjectileModels() {
    bossShotModel = std::make_shared<Model>();
    missileModel = std::make_shared<Model>();
    playerShotModel = std::make_shared<Model>();
    playerHeavyShotModel = std::make_shared<Model>();
}

Projectile* Armory::firePrimaryShot(const btVector3& craft, std::shared_ptr<Shader> shader) {
    Projectile* shot = game.addProjectile(playerShotModel, kPrimaryDamage, kPrimaryMass,
                                          std::make_unique<btSphereShape>(kPrimaryRadius),
                                          craft + kPrimaryMuzzle, kNoRotation, std::move(shader));
    shot->setName(std::string(kPrimaryShotName));
    shot->applyImpulseInBodyFrame(kPrimaryImpulse, kPrimaryImpulsePoint);
    shot->setMotionSweep(kMotionThreshold, kPrimaryRadius);
    game.events.note(MatchEvent::PrimaryShot);
    return shot;
}

Projectile* Armory::fireHeavyShot(const btVector3& craft, int damage,
                                  std::shared_ptr<Shader> shader) {
    Projectile* shot = game.addProjectile(playerHeavyShotModel, damage, kHeavyMass,
                                          std::make_unique<btSphereShape>(kHeavyRadius),
                                          craft + kHeavyMuzzle, kNoRotation, std::move(shader));
    shot->setName(std::string(kHeavyShotName));
    shot->spawnTime -= kHeavyHeadStart;
    shot->applyImpulseInBodyFrame(kHeavyImpulse, btVector3(0.0f, 0.0f, 0.0f));
    shot->getRigidBody()->applyTorqueImpulse(kHeavySpin);
    shot->getRigidBody()->setCcdMotionThreshold(kMotionThreshold);
    game.events.note(MatchEvent::HeavyShot);
    return shot;
}

bool Armory::heavyShotReaches(const btVector3& craft, const btVector3& target, float radius,
                              float halfHeight, float sceneSpeed) {
    const btVector3 muzzle = craft + kHeavyMuzzle;
    const float gain = (kHeavySpeed - sceneSpeed) * (kLifetime - kHeavyHeadStart) - kHeavyReachMargin;
    // The ball's centre sweeps a segment down -z, the capsule's core is a segment along y:
    // two segments along different axes are as far apart as their gaps on the three axes.
    const btVector3 gap(target.x() - muzzle.x(),
                        gapTo(muzzle.y(), target.y() - halfHeight, target.y() + halfHeight),
                        gapTo(target.z(), muzzle.z() - gain, muzzle.z()));
    const float touching = kHeavyRadius + radius;
    return gap.length2() <= touching * touching;
}

Projectile* Armory::fireBossShot(const btVector3& spawn, const btVector3& aim, float spinOffset,
                                 std::shared_ptr<Shader> shader) {
    Projectile* shot = game.addProjectile(bossShotModel, kBossShotDamage, kBossShotMass,
                                          std::make_unique<btSphereShape>(kBossShotRadius), spawn,
                                          kNoRotation, std::move(shader));
    shot->setName(std::string(kBossShotName));
    // A zero aim has no direction to normalise: such a shot simply drops.
    const btVector3 impulse = aim.fuzzyZero() ? aim : aim.normalized() * (kBossShotSpeed * bossShotSpeedScale);
    shot->getRigidBody()->applyImpulse(impulse,
                                       btVector3(spinOffset, kBossShotImpulseHeight, 0.0f));
    shot->setMotionSweep(kMotionThreshold, kBossShotSweepRadius);
    game.events.note(MatchEvent::BossShot);
    return shot;
}

Projectile* Armory::launchMissile(const btVector3& spawn, const btVector3& impulse,
                                  std::shared_ptr<Shader> shader) {
    Projectile* missile =
        game.addProjectile(missileModel, kMissileDamage, kMissileMass,
                           std::make_unique<btCapsuleShape>(kMissileRadius, kMissileHeight), spawn,
                           kMissileRotation, std::move(shader));
    missile->setName(std::string(kBossShotName));
    missile->getRigidBody()->applyCentralImpulse(impulse);
    missile->setMotionSweep(kMotionThreshold, kMissileSweepRadius);
    game.events.note(MatchEvent::MissileLaunch);
    return missile;
}
