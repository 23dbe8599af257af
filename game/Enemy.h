#pragma once

#include "game/Combatant.h"

/// The boss ("boss"), a kinematic capsule that eases after a guide moving only along x,
/// and its spherical shield ("shield"), which is an Enemy of its own without guide or shield.
///
/// The shield is looked up, not owned: the game owns it like every other object, and
/// puts it into and takes it out of the world as `shieldWanted` and its falls decide.
class Enemy : public Combatant {
public:
    static constexpr int kMaxHealth = 150;
    static constexpr int kMaxAmmo =
        100;  ///< the counter only alternates gun sides and missile slots

    /// Names the object "boss"; the shield is renamed by its builder. `guide` may be null.
    Enemy(std::shared_ptr<Model> model, int maxHealth, int maxAmmo, GameObject* guide, float mass,
          std::unique_ptr<btCollisionShape> shape, const btVector3& position,
          const btQuaternion& rotation, std::shared_ptr<Shader> shader);

    Enemy* shieldObject = nullptr;  ///< null for the shield itself
    float shieldDownTime = 0.0f;    ///< game-clock seconds of the last fall; 0 if it never fell
    bool shieldWanted = false;      ///< the attack in progress wants the shield up
};
