#include "game/Projectile.h"

#include <utility>

Projectile::Projectile(std::shared_ptr<Model> source, int damageValue, float mass,
                       std::unique_ptr<btCollisionShape> collisionShape, const btVector3& position,
                       const btQuaternion& rotation, std::shared_ptr<Shader> drawingShader,
                       float spawnSeconds)
    : GameObject(mass, std::move(collisionShape), position, rotation) {
    arm(std::move(source), damageValue, std::move(drawingShader), spawnSeconds);
}

void Projectile::relaunch(std::shared_ptr<Model> source, int damageValue, float mass,
                          std::unique_ptr<btCollisionShape> collisionShape,
                          const btVector3& position, const btQuaternion& rotation,
                          std::shared_ptr<Shader> drawingShader, float spawnSeconds) {
    rebuildBody(mass, std::move(collisionShape), position, rotation);
    arm(std::move(source), damageValue, std::move(drawingShader), spawnSeconds);
}

void Projectile::arm(std::shared_ptr<Model> source, int damageValue,
                     std::shared_ptr<Shader> drawingShader, float spawnSeconds) {
    shareModel(std::move(source), std::move(drawingShader));
    damage = damageValue;
    hits = damageValue;
    spawnTime = spawnSeconds;
    spent = false;
}

void Projectile::applyImpulseInBodyFrame(const btVector3& impulse, const btVector3& relativePoint) {
    btRigidBody& rigidBody = *getRigidBody();
    rigidBody.applyImpulse(rigidBody.getWorldTransform().getBasis() * impulse, relativePoint);
}

void Projectile::setMotionSweep(float threshold, float sweptSphereRadius) {
    getRigidBody()->setCcdMotionThreshold(threshold);
    getRigidBody()->setCcdSweptSphereRadius(sweptSphereRadius);
}
