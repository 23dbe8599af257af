#include "game/ContactRules.h"

#include "game/ButtonPressedNew.h"
#include "game/BulletConversion.h"
#include "game/BulletOpenGl.h"
#include "game/Enemy.h"
#include "game/NameHash.h"
#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "render/HUD.h"

#include <cassert>
#include <cstdint>

namespace {

using Flag = bool ButtonPressedNew::*;
using B = ButtonPressedNew;

// What the sensor touching (and leaving) a named object does to the control flags.
struct BlockRule {
    std::uint32_t name;
    bool blocksOnTouch;  ///< false: leaving it clears the flags, touching it sets nothing
    Flag blocked[2];
    Flag movement[2];  ///< cleared on touch, so a held key stops at the wall
};

constexpr BlockRule blockRules[] = {
    {nameHash(kFrontWallName), true, {&B::blockW, nullptr}, {&B::w, nullptr}},
    {nameHash(kBackWallName), true, {&B::blockS, nullptr}, {&B::s, nullptr}},
    {nameHash(kUpWallName), true, {&B::blockSpace, nullptr}, {&B::space, nullptr}},
    {nameHash(kLeftWallName), true, {&B::blockA, nullptr}, {&B::a, nullptr}},
    {nameHash(kRightWallName), true, {&B::blockD, nullptr}, {&B::d, nullptr}},
    {nameHash(kDownWallName), true, {&B::blockC, &B::blockShift}, {&B::c, &B::shift}},
    // The boss never blocks, but the sensor leaving it clears forward blocking.
    {nameHash(kBossName), false, {&B::blockW, nullptr}, {nullptr, nullptr}},
};

const BlockRule* blockRuleFor(std::uint32_t name) {
    for (const BlockRule& rule : blockRules)
        if (rule.name == name) return &rule;
    return nullptr;
}

void setFlags(ButtonPressedNew& buttons, const Flag (&flags)[2], bool value) {
    for (Flag flag : flags)
        if (flag) buttons.*flag = value;
}

void blockTouchedWall(ButtonPressedNew& buttons, std::uint32_t name) {
    const BlockRule* rule = blockRuleFor(name);
    if (!rule || !rule->blocksOnTouch) return;
    setFlags(buttons, rule->blocked, true);
    setFlags(buttons, rule->movement, false);
}

void clearBlocking(ButtonPressedNew& buttons, std::uint32_t name) {
    if (const BlockRule* rule = blockRuleFor(name)) setFlags(buttons, rule->blocked, false);
}

bool isSensor(const GameObject& object) { return object.getNameHash() == nameHash(kSensorName); }

void blockWallTouchedBySensor(ButtonPressedNew& buttons, const GameObject& a, const GameObject& b) {
    if (isSensor(a))
        blockTouchedWall(buttons, b.getNameHash());
    else if (isSensor(b))
        blockTouchedWall(buttons, a.getNameHash());
}

void updateHealthBar(GameObject& object) {
    if (HUD* bar = object.getHealthBar()) bar->setFill(object.getHealth(), object.getMaxHealth());
}

// The rules run between sub-steps, before Bullet brings the motion states up to date.
glm::vec3 positionOf(const GameObject& shot) { return toGlm(shot.physicsPosition()); }

// A fallen shield leaves the world, comes back whole, and stays away for a while.
void shieldTakesHit(BulletOpenGl& game, GameObject& shield, const GameObject& shot) {
    shield.addHealth(-shot.getMaxHealth());
    game.events.noteImpact(MatchEvent::ShieldHit, positionOf(shot));
    if (shield.getHealth() >= 1) return;
    game.removeObject(&shield);
    game.events.note(MatchEvent::ShieldDown);
    if (auto* enemy = dynamic_cast<Enemy*>(&shield)) enemy->shieldDownTime = game.now();
    shield.resetHealth();
}

void targetTakesShot(BulletOpenGl& game, GameObject& target, GameObject& shot) {
    const bool isPlayer = target.getNameHash() == nameHash(kPlayerName);
    game.events.noteImpact(isPlayer ? MatchEvent::PlayerHit : MatchEvent::BossHit,
                           positionOf(shot));
    target.addHealth(-shot.getHealth());
    updateHealthBar(target);
    game.removeObject(&shot);
}

void markSpent(GameObject& shot) {
    if (auto* projectile = dynamic_cast<Projectile*>(&shot)) projectile->spent = true;
}

// Strengths never drop in play, so the boss's shot is only marked spent.
void primaryShotMeetsBossShot(BulletOpenGl& game, GameObject& primary, GameObject& bossShot) {
    if (primary.getHealth() < 1) game.removeObject(&primary);
    if (bossShot.getHealth() > 0)
        markSpent(bossShot);
    else
        game.removeObject(&bossShot);
}

}  // namespace

void runContactBeginRule(BulletOpenGl& game, GameObject& a, GameObject& b) {
    switch (namePairHash(a.getNameHash(), b.getNameHash())) {
    case namePairHash(kShieldName, kPrimaryShotName):
    case namePairHash(kShieldName, kHeavyShotName):
        shieldTakesHit(game, a, b);  // the shot flies on
        break;
    case namePairHash(kPrimaryShotName, kShieldName):
        shieldTakesHit(game, b, a);
        break;
    case namePairHash(kHeavyShotName, kShieldName):
        shieldTakesHit(game, b, a);
        game.removeObject(&a);
        break;
    case namePairHash(kBossName, kPrimaryShotName):
    case namePairHash(kBossName, kHeavyShotName):
    case namePairHash(kPlayerName, kBossShotName):
        targetTakesShot(game, a, b);
        break;
    case namePairHash(kPrimaryShotName, kBossName):
    case namePairHash(kHeavyShotName, kBossName):  // both orders alike: Bullet picks the order
    case namePairHash(kBossShotName, kPlayerName):
        targetTakesShot(game, b, a);
        break;
    case namePairHash(kPrimaryShotName, kBossShotName):
        primaryShotMeetsBossShot(game, a, b);
        break;
    case namePairHash(kBossShotName, kPrimaryShotName):
        primaryShotMeetsBossShot(game, b, a);
        break;
    case namePairHash(kHeavyShotName, kBossShotName):
        markSpent(b);
        break;
    case namePairHash(kBossShotName, kHeavyShotName):
        markSpent(a);
        break;
    default:
        assert(game.buttons);
        blockWallTouchedBySensor(*game.buttons, a, b);
    }
}

void runContactEndRule(ButtonPressedNew& buttons, const GameObject& a, const GameObject& b) {
    if (isSensor(a)) clearBlocking(buttons, b.getNameHash());
    if (isSensor(b)) clearBlocking(buttons, a.getNameHash());
}
