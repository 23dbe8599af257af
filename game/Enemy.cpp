#include "game/Enemy.h"

#include "game/ObjectNames.h"

#include <utility>

Enemy::Enemy(std::shared_ptr<Model> ownModel, int fullHealth, int fullAmmo, GameObject* guideObject, float mass,
             std::unique_ptr<btCollisionShape> collisionShape, const btVector3& position,
             const btQuaternion& rotation, std::shared_ptr<Shader> drawingShader)
    : Combatant(std::move(ownModel), fullHealth, fullAmmo, guideObject, mass, std::move(collisionShape),
                position, rotation, std::move(drawingShader)) {
    setName(std::string(kBossName));
}
