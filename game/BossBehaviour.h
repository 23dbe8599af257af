#pragma once

#include "game/Difficulty.h"

#include <btBulletDynamicsCommon.h>

#include <functional>
#include <vector>

class Armory;
class BulletOpenGl;
class Enemy;
class GameObject;
class Player;
class Projectile;

/// What the boss does each frame: it keeps its shield up or down, picks an attack by its
/// remaining health and by chance, and runs it: aimed volleys while moving to random spots
/// or chasing the player's lateral position, side-to-side sweeps, homing-missile barrages.
///
/// The boss eases after its guide, which only ever moves along x. It acts once a match
/// step: times are seconds of the match's clock, and the helpers move by one step's worth.
/// Random draws come from `random`, which must return integers in [0, kRandomMax]: the game
/// hands it the match's generator, and tests a fixed sequence.
class BossBehaviour {
public:
    using RandomSource = std::function<int()>;
    static constexpr int kRandomMax = 32767;
    static constexpr float kShieldLockout = 20.0f;  ///< seconds a fallen shield stays away
    static constexpr int kSweepPhase = 7;
    static constexpr int kMissilePhase = 8;

    BossBehaviour(BulletOpenGl& game, Armory& armory);

    /// One step of the boss; with no player only the shield is looked after.
    void updateBoss(Enemy& boss, const Player* player);
    /// Every attack from its beginning, no missiles, as in the first match of a game.
    void startNewMatch();
    /// Stops steering `object` if it is a homing missile; called before it is freed.
    void forgetMissile(const GameObject& object);

    /// Moves the guide toward `targetX` by at most one step at `speed` and eases the boss after it.
    /// True once the guide is there and the boss within 0.1 of it in x.
    bool moveBossTo(Enemy& boss, float targetX, float speed, float follow);
    /// Moves the guide a whole step toward the player's x for `duration` seconds from the
    /// choice of the attack, easing the boss after it. True once time is up and the boss
    /// is at most 0.1 to the left of the guide's x, or anywhere to its right.
    bool chasePlayer(Enemy& boss, const Player& player, float follow, float duration, float speed);
    /// Fires from alternate guns once `rate` x the steps taken has added up to a shot, aimed at the
    /// player's height and 10 units before the player, laterally at the boss's own centre
    /// line; the spread narrows with `accuracy` (0.8: +-2 lateral, +-3 vertical).
    void fireBossShot(Enemy& boss, const Player& player, float accuracy, float rate);
    /// Launches a missile from one of four slots once `rate` x the steps taken adds up to one.
    bool launchMissile(Enemy& boss, float rate);
    /// Steers every homing missile older than `homingDelay` and lets go of those that need
    /// no more steering; once a step while the match runs.
    void steerMissiles(const Player& player);
    /// Turns the missile's flight and nose toward the player, both where the physics has
    /// them; true when it should no longer be steered (flying level with the player, older
    /// than 3.0 s, or spent).
    bool steerMissile(Projectile& missile, const Player& player);

    RandomSource random;
    /// How hard the boss presses: its fire rate, shot speed and missile frequency.
    const DifficultyScale* difficulty = &scaleOf(Difficulty::Normal);
    bool chooseAttack = true;
    int attackPhase = 1;    ///< 1..8
    int attackPattern = 1;  ///< 1..4, for phases 5 and 6
    float targetX = 0.0f;
    float phaseStart = 0.0f;  ///< when the boss last arrived or caught up
    float chaseStart = 0.0f;
    float fireAccumulator = 0.0f;  ///< shots (or missiles) owed, in units of one
    std::vector<Projectile*> homingMissiles;
    float homingDelay = 0.0f;  ///< seconds from launch to homing, for the barrage under way
    int sweepPasses = 0;
    int missilesLaunched = 0;

private:
    void keepShield(Enemy& boss);
    /// Moves the boss part of the way to its guide; returns the x gap before the move.
    float easeTowardGuide(Enemy& boss, const btTransform& guidePose, float follow);
    void chooseNextAttack(const Enemy& boss, float healthRatio);
    void takeRandomSideTarget(const Enemy& boss);
    bool runAttack(Enemy& boss, const Player& player, float healthRatio);
    bool runPatternAttack(Enemy& boss, const Player& player);
    bool sweep(Enemy& boss, const Player& player, float healthRatio);
    bool missileBarrage(Enemy& boss, float healthRatio);
    float spread(float halfWidth);

    BulletOpenGl& game;
    Armory& armory;
};
