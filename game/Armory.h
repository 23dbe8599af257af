#pragma once

#include <btBulletDynamicsCommon.h>
#include <glm/glm.hpp>

#include <memory>

class BulletOpenGl;
class Model;
class Projectile;
class Shader;

/// The outline of the boss's missiles: an acid green that neither the landscape nor the
/// sky shows. The markers that point at missiles out of sight share it.
inline const glm::vec3 kMissileRimColour{0.62f, 1.0f, 0.16f};

/// The four kinds of shot: their template models, shapes, masses, damage and launches.
///
/// Every shot draws its kind's template, shared, and is left to the physics world; what
/// happens on impact is the contact rules' business. The templates stay empty until
/// loadProjectileModels(), so display-free code can fire shots that draw nothing.
class Armory {
public:
    static constexpr float kLifetime = 3.0f;  ///< seconds; every kind expires at this age

    explicit Armory(BulletOpenGl& game);

    /// Imports and textures the four templates, the boss's two glowing as threats; needs a
    /// current GL context.
    void loadProjectileModels();
    /// Back to empty templates, releasing their GL objects (with a context current).
    void clearProjectileModels();

    /// "pProjectile": damage 1, 80 units/s toward -z from 3 units ahead of `craft`.
    Projectile* firePrimaryShot(const btVector3& craft, std::shared_ptr<Shader> shader);
    /// "sProjectile": 60 units/s toward -z from 4 units ahead of `craft`, spinning, and
    /// only 0.5 s to live (its clock starts 2.5 s early).
    Projectile* fireHeavyShot(const btVector3& craft, int damage, std::shared_ptr<Shader> shader);
    /// Whether a heavy shot fired from `craft` now would touch a capsule standing along y
    /// (the boss's shape: centre `target`, `radius`, straight part `halfHeight` each way)
    /// before it expires, if the target held its place in a scene drifting toward -z at
    /// `sceneSpeed` units/s. Shots do not drift, so the shot gains on the scene only by what
    /// its speed exceeds the drift: at the match's 30 units/s, 15 units in its half second.
    /// The few hundredths of a unit it falls meanwhile are left out.
    static bool heavyShotReaches(const btVector3& craft, const btVector3& target, float radius,
                                 float halfHeight, float sceneSpeed);
    /// "bProjectile": damage 2, 20 units/s along `aim`, nudged off centre by `spinOffset` in x.
    Projectile* fireBossShot(const btVector3& spawn, const btVector3& aim, float spinOffset,
                             std::shared_ptr<Shader> shader);
    float bossShotSpeedScale = 1.0f;  ///< the difficulty's factor on the boss's shot speed
    /// "bProjectile": a capsule missile of damage 1 launched by `impulse` (unit mass).
    Projectile* launchMissile(const btVector3& spawn, const btVector3& impulse,
                              std::shared_ptr<Shader> shader);

    std::shared_ptr<Model> bossShotModel;
    std::shared_ptr<Model> missileModel;
    std::shared_ptr<Model> playerShotModel;
    std::shared_ptr<Model> playerHeavyShotModel;

private:
    BulletOpenGl& game;
};
