#pragma once

#include "game/Combatant.h"

struct ButtonPressedNew;
class Armory;
class CustomCamera;
class MatchEvents;

/// The player's craft ("main"): a kinematic capsule that eases after its wall sensor
/// ("goalPost"), which the movement flags steer directly. The camera eases along.
///
/// Two weapons share one magazine: the primary shot spends one round, the heavy shot the
/// whole magazine for damage in proportion. An empty magazine refills 2.0 s after it ran dry.
class Player : public Combatant {
public:
    static constexpr int kMaxHealth = 25;
    static constexpr int kMaxAmmo = 15;

    /// Names the craft "main" and the sensor "goalPost".
    Player(std::shared_ptr<Model> model, int maxHealth, int maxAmmo, GameObject* sensor, float mass,
           std::unique_ptr<btCollisionShape> shape, const btVector3& position,
           const btQuaternion& rotation, std::shared_ptr<Shader> shader);

    void setAmmoBar(HUD* bar) override { ammoBar = bar; }
    HUD* getAmmoBar() const override { return ammoBar; }

    /// Moves the sensor by the held movement flags, then eases the craft and the camera
    /// after it. `dt` in seconds.
    void steer(const ButtonPressedNew& buttons, CustomCamera& camera, float dt);
    /// Reloads an empty magazine, then fires at most one shot (primary before heavy) and
    /// clears the fire flag it used. `now` in seconds of the game clock.
    void updateWeapons(ButtonPressedNew& buttons, Armory& armory, MatchEvents& events, float now);

private:
    void reload(ButtonPressedNew& buttons, MatchEvents& events, float now);
    void spendRounds(int rounds, float now);

    HUD* ammoBar = nullptr;
};
