#pragma once

#include "game/GameObject.h"

/// One shot: a dynamic body launched by an impulse and left to the physics world.
///
/// Its health is `hits` and its maximum health the `damage` it deals, so the contact rules
/// read both through the common GameObject operations. Ages by the game clock from
/// `spawnTime`. Draws its kind's template model, shared with every shot of the kind. A spent
/// shot can be retired (its body freed) and relaunched as a new one, so that a steady fire
/// does not build and free a projectile for every shot.
class Projectile : public GameObject {
public:
    /// `hits` starts equal to `damage`; `spawnTime` is in seconds of the game clock.
    Projectile(std::shared_ptr<Model> model, int damage, float mass,
               std::unique_ptr<btCollisionShape> shape, const btVector3& position,
               const btQuaternion& rotation, std::shared_ptr<Shader> shader, float spawnTime);

    /// A retired shot, waiting for relaunch(): no body, no model.
    Projectile() = default;

    /// Frees the body of a shot out of the world; keeps the object for relaunch().
    void retire() { releaseBody(); }
    /// The retired shot made new, as the constructor with these arguments makes one.
    void relaunch(std::shared_ptr<Model> model, int damage, float mass,
                  std::unique_ptr<btCollisionShape> shape, const btVector3& position,
                  const btQuaternion& rotation, std::shared_ptr<Shader> shader, float spawnTime);

    int getHealth() const override { return hits; }
    void resetHealth() override { hits = damage; }
    int getMaxHealth() const override { return damage; }
    void addHealth(int n) override { hits += n; }

    /// Seconds of the match's clock since launch.
    float age(float now) const { return now - spawnTime; }

    /// Turns `impulse` by the body's rotation, then applies it at `relativePoint`.
    void applyImpulseInBodyFrame(const btVector3& impulse, const btVector3& relativePoint);
    /// Continuous collision detection: sweeps once the shot moves `threshold` per step.
    void setMotionSweep(float threshold, float sweptSphereRadius);

    float spawnTime = 0.0f;
    bool spent = false;  ///< hit by a player shot: a spent missile stops homing

private:
    void arm(std::shared_ptr<Model> model, int damage, std::shared_ptr<Shader> shader,
             float spawnTime);

    int damage = 0;
    int hits = 0;
};
