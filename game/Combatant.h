#pragma once

#include "game/GameObject.h"

/// What the player and the boss have in common: health, a magazine, a reload clock, a
/// health bar, a model and a guide, the invisible kinematic companion the object eases
/// after (the player's wall sensor, the boss's lateral target).
///
/// The guide and the bar are looked up, not owned: the game owns the guide like every
/// other object, and the bar sits in the game's HUD list.
class Combatant : public GameObject {
public:
    /// Draws `model`, a copy of its own; sets health and ammunition to their maxima. A
    /// guide, when given, becomes kinematic and contact-free and collides with everything
    /// (group 1, mask all).
    Combatant(std::shared_ptr<Model> model, int maxHealth, int maxAmmo, GameObject* guide, float mass,
              std::unique_ptr<btCollisionShape> shape, const btVector3& position,
              const btQuaternion& rotation, std::shared_ptr<Shader> shader);

    void setHealthBar(HUD* bar) override { healthBar = bar; }
    HUD* getHealthBar() const override { return healthBar; }
    int getHealth() const override { return health; }
    void resetHealth() override { health = maxHealth; }
    void resetAmmo() override { ammo = maxAmmo; }
    int getMaxHealth() const override { return maxHealth; }
    void addHealth(int n) override { health += n; }
    int getAmmo() const override { return ammo; }
    int getMaxAmmo() const override { return maxAmmo; }
    void addAmmo(int n) override { ammo += n; }
    void setReloadStart(float seconds) override { reloadStart = seconds; }
    float getReloadStart() const override { return reloadStart; }
    GameObject* getGuide() const override { return guide; }

private:
    int maxHealth;
    int maxAmmo;
    int health;
    int ammo;
    GameObject* guide;
    float reloadStart = 0.0f;  ///< seconds of the game clock
    HUD* healthBar = nullptr;
};
