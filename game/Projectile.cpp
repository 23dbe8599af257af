#include "game/Projectile.h"

#include <utility>

Projectile::Projectile(const Model& source, int damageValue, float mass,
                       std::unique_ptr<btCollisionShape> collisionShape, const btVector3& position,
                       const btQuaternion& rotation, std::shared_ptr<Shader> drawingShader,
                       float spawnSeconds)
    : GameObject(mass, std::move(collisionShape), position, rotation),
      spawnTime(spawnSeconds),
      damage(damageValue),
      hits(damageValue) {
    attachModel(source, std::move(drawingShader));
}

void Projectile::applyImpulseInBodyFrame(const btVector3& impulse, const btVector3& relativePoint) {
    btRigidBody& rigidBody = *getRigidBody();
    rigidBody.applyImpulse(rigidBody.getWorldTransform().getBasis() * impulse, relativePoint);
}

void Projectile::setMotionSweep(float threshold, float sweptSphereRadius) {
    getRigidBody()->setCcdMotionThreshold(threshold);
    getRigidBody()->setCcdSweptSphereRadius(sweptSphereRadius);
}
