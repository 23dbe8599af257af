#include "game/Combatant.h"

#include <utility>

namespace {

constexpr int kGuideFilterGroup = 1;
constexpr int kGuideFilterMask = -1;  // collides with everything

void makeGuideContactFree(GameObject& guide) {
    guide.addCollisionFlags(btCollisionObject::CF_KINEMATIC_OBJECT |
                            btCollisionObject::CF_NO_CONTACT_RESPONSE);
    if (btBroadphaseProxy* proxy = guide.getRigidBody()->getBroadphaseProxy()) {
        proxy->m_collisionFilterGroup = kGuideFilterGroup;
        proxy->m_collisionFilterMask = kGuideFilterMask;
    }
}

}  // namespace

Combatant::Combatant(std::shared_ptr<Model> ownModel, int maxHealthValue, int maxAmmoValue,
                     GameObject* guideObject, float mass,
                     std::unique_ptr<btCollisionShape> collisionShape, const btVector3& position,
                     const btQuaternion& rotation, std::shared_ptr<Shader> drawingShader)
    : GameObject(mass, std::move(collisionShape), position, rotation),
      maxHealth(maxHealthValue),
      maxAmmo(maxAmmoValue),
      health(maxHealthValue),
      ammo(maxAmmoValue),
      guide(guideObject) {
    shareModel(std::move(ownModel), std::move(drawingShader));
    if (guide) makeGuideContactFree(*guide);
}
