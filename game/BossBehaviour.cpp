#include "game/BossBehaviour.h"

#include "game/Armory.h"
#include "game/BulletOpenGl.h"
#include "game/Easing.h"
#include "game/Enemy.h"
#include "game/Player.h"
#include "game/Projectile.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace {

constexpr float kArrivalTolerance = 0.1f;  // units in x between boss and guide
constexpr float kShieldAhead = 2.0f;       // the shield sits this far toward the player

constexpr float kStepSeconds = MatchClock::kStep;

float signOf(float value) { return static_cast<float>((value > 0.0f) - (value < 0.0f)); }

// The three tiers of phases 7 and 8.
template <class Row>
const Row& byHealth(float healthRatio, const Row (&rows)[3]) {
    if (healthRatio >= 0.66f) return rows[0];
    if (healthRatio >= 0.33f) return rows[1];
    return rows[2];
}

struct PhaseByHealth {
    float above;
    int phase;
};

constexpr PhaseByHealth phasesByHealth[] = {
    {0.8f, 1}, {0.75f, 2}, {0.58f, 3}, {0.39f, 4}, {0.2f, 5},
};
constexpr int kLowHealthPhase = 6;
constexpr int kFirstPatternPhase = 5;  // phases 5 and 6 pick one of four patterns
constexpr int kPatternCount = 4;

int phaseForHealth(float healthRatio) {
    for (const PhaseByHealth& row : phasesByHealth)
        if (healthRatio > row.above) return row.phase;
    return kLowHealthPhase;
}

struct SweepRow {
    int passes;
    float accuracy;
    float rate;  // shots per second
};
constexpr SweepRow sweepRows[] = {{1, 0.8f, 14.0f}, {2, 0.5f, 20.0f}, {3, 0.1f, 25.0f}};
constexpr float kSweepSpeed = 20.0f;
constexpr float kSweepFollow = 0.2f;
constexpr float kSweepReach = 17.0f;

struct BarrageRow {
    float duration;     // seconds of launching once in place
    float rate;         // missiles per second
    float homingDelay;  // seconds before a missile starts homing
    float launchLimit;  // duration x rate
};
constexpr BarrageRow barrageRows[] = {
    {4.0f, 1.5f, 1.5f, 6.0f}, {5.0f, 1.8f, 1.4f, 9.0f}, {6.0f, 2.2f, 1.3f, 13.2f}};
constexpr float kBarrageSpeed = 15.0f;
constexpr float kBarrageFollow = 0.15f;

struct MissileSlot {
    float dx;
    btVector3 impulse;
};
const MissileSlot missileSlots[] = {
    {-5.0f, {-2.0f, 4.0f, -28.0f}},
    {5.0f, {2.0f, 4.0f, -28.0f}},
    {-5.0f, {-2.0f, -4.0f, -28.0f}},
    {5.0f, {2.0f, -4.0f, -28.0f}},
};
constexpr int kMissileSlotCount = 4;

constexpr float kMissileHomingReach = 60.0f;
constexpr float kMissileHomingGain = 0.45f;
constexpr float kMissileLevelFlight = 0.2f;  // |d.y| / |d| below this: level with the player
constexpr float kMissileSteeringAge = 3.0f;  // seconds
constexpr std::size_t kMissilesAtOnce = 32;  // far more than a barrage keeps homing

// Where the last step left the boss, sideways.
float bossX(const Enemy& boss) { return boss.position().x(); }

void wantShield(Enemy& boss, bool up) {
    if (boss.shieldObject) boss.shieldWanted = up;
}

// Nose along n: the shortest arc from +z onto n after a quarter turn about x, which lays
// the capsule's y axis along +z. Left unnormalised: setRotation scales by 2 / |q|^2.
void pointAlong(btRigidBody& body, const btVector3& n) {
    const btQuaternion shortestArc(-n.y(), n.x(), 0.0f, 1.0f + n.z());
    if (shortestArc.length2() < SIMD_EPSILON) return;  // exactly along -z: keep the old nose
    const btQuaternion quarterTurnX(std::sin(SIMD_HALF_PI * 0.5f), 0.0f, 0.0f,
                                    std::cos(SIMD_HALF_PI * 0.5f));
    body.setWorldTransform(
        btTransform(shortestArc * quarterTurnX, body.getWorldTransform().getOrigin()));
}

enum class Approach { Move, Chase };

struct AttackRow {
    Approach approach;
    bool usesShield;
    bool firesWhileClosing;  // phase 4 style: fire on the way, shield up once there
    float speed;             // guide speed, units per second
    float follow;
    float chaseDuration;  // seconds; chases only
    float holdTime;       // seconds in place before the attack ends
    float accuracy;
    float rate;  // shots per second
};

// Phases 1 to 4, then the four patterns of phase 5, then those of phase 6.
constexpr AttackRow attackRows[] = {
    {Approach::Move, false, false, 12.0f, 0.15f, 0.0f, 5.0f, 0.8f, 4.0f},
    {Approach::Move, true, false, 14.0f, 0.15f, 0.0f, 4.0f, 0.6f, 6.0f},
    {Approach::Chase, true, false, 17.0f, 0.2f, 3.0f, 3.0f, 0.4f, 7.0f},
    {Approach::Chase, true, true, 18.0f, 0.2f, 4.0f, 2.7f, 0.3f, 9.0f},

    {Approach::Move, false, false, 20.0f, 0.3f, 0.0f, 2.0f, 0.2f, 10.0f},
    {Approach::Move, true, false, 20.0f, 0.3f, 0.0f, 2.0f, 0.2f, 10.0f},
    {Approach::Chase, true, false, 20.0f, 0.3f, 4.0f, 2.0f, 0.2f, 10.0f},
    {Approach::Chase, true, true, 20.0f, 0.3f, 4.0f, 2.0f, 0.2f, 10.0f},

    {Approach::Move, false, false, 25.0f, 0.35f, 0.0f, 2.0f, 0.1f, 12.0f},
    {Approach::Move, true, false, 25.0f, 0.35f, 0.0f, 2.0f, 0.1f, 12.0f},
    {Approach::Chase, true, false, 25.0f, 0.35f, 4.5f, 2.0f, 0.1f, 12.0f},
    {Approach::Chase, true, true, 25.0f, 0.35f, 4.5f, 2.0f, 0.1f, 12.0f},
};

const AttackRow& attackRowFor(int phase, int pattern) {
    int index = phase - 1;
    if (phase >= kFirstPatternPhase)
        index = kFirstPatternPhase - 1 + (phase - kFirstPatternPhase) * kPatternCount + pattern - 1;
    assert(index >= 0 && index < static_cast<int>(std::size(attackRows)));
    return attackRows[index];
}

}  // namespace

BossBehaviour::BossBehaviour(BulletOpenGl& owner, Armory& weapons)
    : game(owner), armory(weapons) {
    homingMissiles.reserve(kMissilesAtOnce);  // launching allocates nothing
}

void BossBehaviour::updateBoss(Enemy& boss, const Player* player) {
    if (boss.shieldObject) keepShield(boss);
    if (!player) return;

    const float healthRatio =
        static_cast<float>(boss.getHealth()) / static_cast<float>(boss.getMaxHealth());
    if (chooseAttack) chooseNextAttack(boss, healthRatio);
    chooseAttack = runAttack(boss, *player, healthRatio);
}

// Every attack begins again from the first phase, as in the game's first match: a match's
// replay is played back in a fresh game.
void BossBehaviour::startNewMatch() {
    chooseAttack = true;
    attackPhase = 1;
    attackPattern = 1;
    targetX = 0.0f;
    phaseStart = 0.0f;
    chaseStart = 0.0f;
    fireAccumulator = 0.0f;
    homingMissiles.clear();
    homingDelay = 0.0f;
    sweepPasses = 0;
    missilesLaunched = 0;
}

void BossBehaviour::forgetMissile(const GameObject& object) {
    homingMissiles.erase(std::remove(homingMissiles.begin(), homingMissiles.end(), &object),
                         homingMissiles.end());
}

void BossBehaviour::keepShield(Enemy& boss) {
    Enemy& shield = *boss.shieldObject;
    const bool present =
        std::find(game.objects.begin(), game.objects.end(), &shield) != game.objects.end();
    const bool lockedOut =
        shield.shieldDownTime != 0.0f && game.now() - shield.shieldDownTime < kShieldLockout;
    if (!boss.shieldWanted && present) {
        game.removeObject(&shield);
        game.events.note(MatchEvent::ShieldDown);
    }
    if (boss.shieldWanted && !present && !lockedOut) {
        game.addToWorld(shield);
        game.objects.push_back(&shield);
        game.events.note(MatchEvent::ShieldUp);
    }
    btTransform pose = boss.motionTransform();
    pose.getOrigin().setZ(pose.getOrigin().z() + kShieldAhead);
    shield.setMotionTransform(pose);
}

void BossBehaviour::chooseNextAttack(const Enemy& boss, float healthRatio) {
    attackPhase = phaseForHealth(healthRatio);
    // A quarter of all attacks are sweeps and a quarter barrages, at any health.
    const int chance =
        static_cast<int>(std::roundf(static_cast<float>(random()) / 8191.75f + 1.0f));
    if (chance % 4 == 0) attackPhase = kSweepPhase;
    if (chance % 4 == 1) attackPhase = kMissilePhase;

    if (attackPhase == kSweepPhase) {
        targetX = bossX(boss) < 0.0f ? kSweepReach : -kSweepReach;
    } else if (attackPhase == kMissilePhase) {
        targetX = 0.0f;
    } else {
        if (attackPhase >= kFirstPatternPhase)
            attackPattern =
                static_cast<int>(std::roundf(static_cast<float>(random()) / 10922.333f + 1.0f));
        if (attackRowFor(attackPhase, attackPattern).approach == Approach::Move)
            takeRandomSideTarget(boss);
    }
}

// A jump of 5 to 15 units toward the other side.
void BossBehaviour::takeRandomSideTarget(const Enemy& boss) {
    const float bx = bossX(boss);
    const float jump = 5.0f + static_cast<float>(random()) / 3276.7f;
    targetX = bx >= 0.0f ? bx - jump : bx + jump;
}

bool BossBehaviour::runAttack(Enemy& boss, const Player& player, float healthRatio) {
    if (attackPhase == kSweepPhase) return sweep(boss, player, healthRatio);
    if (attackPhase == kMissilePhase) return missileBarrage(boss, healthRatio);
    return runPatternAttack(boss, player);
}

bool BossBehaviour::runPatternAttack(Enemy& boss, const Player& player) {
    const AttackRow& row = attackRowFor(attackPhase, attackPattern);
    const bool closedIn = row.approach == Approach::Move
                              ? moveBossTo(boss, targetX, row.speed, row.follow)
                              : chasePlayer(boss, player, row.follow, row.chaseDuration, row.speed);
    const float now = game.now();
    if (!closedIn) {
        phaseStart = now;
        if (row.usesShield) wantShield(boss, !row.firesWhileClosing);
        if (row.firesWhileClosing) fireBossShot(boss, player, row.accuracy, row.rate);
        return false;
    }
    if (now - phaseStart > row.holdTime) return true;
    if (row.usesShield) wantShield(boss, row.firesWhileClosing);
    if (!row.firesWhileClosing) fireBossShot(boss, player, row.accuracy, row.rate);
    return false;
}

// Phase 7: side to side, firing on every pass but the first.
bool BossBehaviour::sweep(Enemy& boss, const Player& player, float healthRatio) {
    const SweepRow& row = byHealth(healthRatio, sweepRows);
    if (!moveBossTo(boss, targetX, kSweepSpeed, kSweepFollow)) {
        if (sweepPasses > 0) fireBossShot(boss, player, row.accuracy, row.rate);
        return false;
    }
    if (sweepPasses >= row.passes) {
        sweepPasses = 0;
        return true;
    }
    ++sweepPasses;
    targetX = -bossX(boss);
    return false;
}

// Phase 8: to the centre, then missiles for a while; it ends only once none is homing.
bool BossBehaviour::missileBarrage(Enemy& boss, float healthRatio) {
    const BarrageRow& row = byHealth(healthRatio, barrageRows);
    const float now = game.now();
    if (!moveBossTo(boss, targetX, kBarrageSpeed, kBarrageFollow)) {
        phaseStart = now;
        return false;
    }
    if (now - phaseStart > row.duration && homingMissiles.empty()) {
        missilesLaunched = 0;
        phaseStart = now;
        return true;
    }
    const float launchLimit = row.launchLimit * difficulty->missileFrequency;
    if (static_cast<float>(missilesLaunched) <= launchLimit && launchMissile(boss, row.rate))
        ++missilesLaunched;
    homingDelay = row.homingDelay;  // the physics steers them, sub-step by sub-step
    return false;
}

void BossBehaviour::steerMissiles(const Player& player) {
    const float now = game.now();
    for (std::size_t i = 0; i < homingMissiles.size();) {
        Projectile& missile = *homingMissiles[i];
        if (now - missile.spawnTime >= homingDelay && steerMissile(missile, player))
            homingMissiles.erase(homingMissiles.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

float BossBehaviour::easeTowardGuide(Enemy& boss, const btTransform& guidePose, float follow) {
    btTransform bossPose = boss.motionTransform();
    const float gap = guidePose.getOrigin().x() - bossPose.getOrigin().x();
    bossPose.getOrigin() +=
        (guidePose.getOrigin() - bossPose.getOrigin()) * easingFactor(follow, kStepSeconds);
    boss.setMotionTransform(bossPose);
    return gap;
}

bool BossBehaviour::moveBossTo(Enemy& boss, float x, float speed, float follow) {
    assert(boss.getGuide());
    GameObject& guide = *boss.getGuide();
    const float step = kStepSeconds * speed;
    btTransform guidePose = guide.motionTransform();
    const float distance = x - guidePose.getOrigin().x();
    if (std::fabs(distance) > step) {
        guidePose.getOrigin().setX(guidePose.getOrigin().x() + signOf(distance) * step);
        guide.setMotionTransform(guidePose);
    }
    const float gap = easeTowardGuide(boss, guidePose, follow);
    return std::fabs(gap) <= kArrivalTolerance && std::fabs(distance) <= step;
}

bool BossBehaviour::chasePlayer(Enemy& boss, const Player& player, float follow, float duration,
                                float speed) {
    assert(boss.getGuide());
    GameObject& guide = *boss.getGuide();
    const float now = game.now();
    if (chooseAttack) chaseStart = now;
    const float step = kStepSeconds * speed;
    btTransform guidePose = guide.motionTransform();
    const float distance = player.position().x() - guidePose.getOrigin().x();
    if (now - chaseStart < duration) {
        guidePose.getOrigin().setX(guidePose.getOrigin().x() + signOf(distance) * step);
        guide.setMotionTransform(guidePose);
    }
    const float gap = easeTowardGuide(boss, guidePose, follow);
    return gap <= kArrivalTolerance && now - chaseStart >= duration;
}

// A random offset in [-halfWidth, halfWidth].
float BossBehaviour::spread(float halfWidth) {
    return static_cast<float>(random()) * (2.0f * halfWidth / kRandomMax) - halfWidth;
}

void BossBehaviour::fireBossShot(Enemy& boss, const Player& player, float accuracy, float rate) {
    const float lateralSpread = 10.0f - 10.0f * accuracy;
    const float verticalSpread = 15.0f - 15.0f * accuracy;
    fireAccumulator += kStepSeconds * rate * difficulty->bossFireRate;
    const btVector3 b = boss.position();
    const btVector3 p = player.position();

    if (fireAccumulator >= 1.0f) {
        const bool leftGun = boss.getAmmo() % 2 == 0;
        const btVector3 spawn(b.x() + (leftGun ? 4.0f : -4.0f), b.y() + 2.0f, b.z() + 6.0f);
        const float vertical = spread(verticalSpread);
        const float lateral = spread(lateralSpread);
        const btVector3 aim(b.x() - spawn.x() + lateral, p.y() - spawn.y() + vertical,
                            p.z() - 10.0f - spawn.z());
        armory.fireBossShot(spawn, aim, leftGun ? 0.05f : -0.05f, boss.getShader());
        boss.addAmmo(-1);
        fireAccumulator = 0.0f;
    }
    if (boss.getAmmo() == 0) boss.addAmmo(Enemy::kMaxAmmo);
}

bool BossBehaviour::launchMissile(Enemy& boss, float rate) {
    fireAccumulator += kStepSeconds * rate * difficulty->missileFrequency;
    const btVector3 b = boss.position();
    // Kept non-negative: two launches in one long frame can take the counter below zero.
    const int slotIndex =
        ((boss.getAmmo() % kMissileSlotCount) + kMissileSlotCount) % kMissileSlotCount;
    const MissileSlot& slot = missileSlots[slotIndex];
    const btVector3 spawn(b.x() + slot.dx, b.y() + 3.0f, b.z() - 2.0f);

    if (fireAccumulator < 1.0f) {
        if (boss.getAmmo() < 1) boss.resetAmmo();
        return false;
    }
    homingMissiles.push_back(armory.launchMissile(spawn, slot.impulse, boss.getShader()));
    boss.addAmmo(-1);
    fireAccumulator = 0.0f;
    return true;
}

bool BossBehaviour::steerMissile(Projectile& missile, const Player& player) {
    const btVector3 d = player.physicsPosition() - missile.physicsPosition();
    const float distance = d.length();
    if (distance == 0.0f) return true;  // on top of the player: no direction left to steer

    btRigidBody& body = *missile.getRigidBody();
    const btVector3 n = d / distance;
    const btVector3 impulse = n * ((kMissileHomingReach - d.z()) * kMissileHomingGain);
    body.clearForces();
    body.setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    body.applyCentralImpulse(impulse);
    pointAlong(body, n);
    body.applyCentralImpulse(impulse);

    const bool stillHoming = std::fabs(n.y()) >= kMissileLevelFlight &&
                             game.now() - missile.spawnTime <= kMissileSteeringAge &&
                             !missile.spent;
    return !stillHoming;
}
