#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Rules are called directly with the bodies in a chosen order; nothing is stepped, so
// the order is exactly the one under test.
class ContactRules : public ::testing::Test {
protected:
    void begin(GameObject& a, GameObject& b) {
        game.onContactBegin(a.getRigidBody(), b.getRigidBody());
    }
    void end(GameObject& a, GameObject& b) {
        game.onContactEnd(a.getRigidBody(), b.getRigidBody());
    }

    Projectile& primaryShot() { return *game.armory.firePrimaryShot({0.0f, 50.0f, 0.0f}, nullptr); }
    Projectile& heavyShot(int damage) {
        return *game.armory.fireHeavyShot({0.0f, 80.0f, 0.0f}, damage, nullptr);
    }
    Projectile& bossShot() {
        return *game.armory.fireBossShot({0.0f, 110.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, 0.05f, nullptr);
    }
    Enemy& raisedShield() {
        h.boss().shieldWanted = true;
        game.bossBehaviour.updateBoss(h.boss(), nullptr);
        return h.shield();
    }
    GameObject& objectNamed(std::string_view name) {
        for (GameObject* object : game.objects)
            if (object->getName() == name) return *object;
        throw std::runtime_error("no object named " + std::string(name));
    }
    GameObject& sensor() { return *h.player().getGuide(); }

    HeadlessGame h;
    Game& game = h.game;
    ButtonPressedNew& buttons = *h.buttons;
};

}  // namespace

TEST_F(ContactRules, PrimaryShotCostsTheShieldOneHealthAndFliesOnInEitherOrder) {
    Enemy& shield = raisedShield();
    Projectile& first = primaryShot();
    begin(shield, first);
    Projectile& second = primaryShot();
    begin(second, shield);
    EXPECT_EQ(shield.getHealth(), 8);
    EXPECT_TRUE(h.isRegistered(&first));
    EXPECT_TRUE(h.isRegistered(&second));
}

TEST_F(ContactRules, TenthPrimaryHitTakesTheShieldDown) {
    Enemy& shield = raisedShield();
    for (int i = 0; i < 9; ++i) begin(shield, primaryShot());
    EXPECT_TRUE(h.isRegistered(&shield));
    EXPECT_EQ(shield.getHealth(), 1);

    begin(primaryShot(), shield);
    EXPECT_FALSE(h.isRegistered(&shield));
    EXPECT_FALSE(shield.getRigidBody()->isInWorld());
    EXPECT_EQ(shield.getHealth(), 10);  // whole again for its return
    EXPECT_FLOAT_EQ(shield.shieldDownTime, h.time);
}

TEST_F(ContactRules, HeavyShotHittingTheShieldFirstFliesOn) {
    Enemy& shield = raisedShield();
    Projectile& shot = heavyShot(4);
    begin(shield, shot);
    EXPECT_EQ(shield.getHealth(), 6);
    EXPECT_TRUE(h.isRegistered(&shot));
}

TEST_F(ContactRules, HeavyShotFirstIsRemovedByTheShieldEvenWhenItHolds) {
    Enemy& shield = raisedShield();
    Projectile& shot = heavyShot(4);
    begin(shot, shield);
    EXPECT_EQ(shield.getHealth(), 6);
    EXPECT_TRUE(h.isRegistered(&shield));
    EXPECT_FALSE(h.isRegistered(&shot));
}

TEST_F(ContactRules, StrongHeavyShotTakesTheShieldDownInEitherOrder) {
    Enemy& shield = raisedShield();
    begin(heavyShot(7), shield);
    EXPECT_TRUE(h.isRegistered(&shield));
    begin(heavyShot(7), shield);
    EXPECT_FALSE(h.isRegistered(&shield));

    h.time += BossBehaviour::kShieldLockout + 1.0f;
    Enemy& again = raisedShield();
    ASSERT_TRUE(h.isRegistered(&again));
    begin(again, heavyShot(10));
    EXPECT_FALSE(h.isRegistered(&again));
}

TEST_F(ContactRules, PlayerShotsCostTheBossTheirStrengthAndAreRemovedInEitherOrder) {
    Enemy& boss = h.boss();
    Projectile& a = primaryShot();
    begin(boss, a);
    Projectile& b = primaryShot();
    begin(b, boss);
    Projectile& c = heavyShot(7);
    begin(boss, c);
    Projectile& d = heavyShot(5);
    begin(d, boss);  // the mirrored heavy-shot order counts too
    EXPECT_EQ(boss.getHealth(), 150 - 1 - 1 - 7 - 5);
    for (Projectile* shot : {&a, &b, &c, &d}) EXPECT_FALSE(h.isRegistered(shot));
}

TEST_F(ContactRules, HeavyShotWithNoRoundsLeftDealsNothing) {
    begin(h.boss(), heavyShot(0));
    EXPECT_EQ(h.boss().getHealth(), 150);
}

TEST_F(ContactRules, BossShotsCostThePlayerTheirStrengthAndAreRemovedInEitherOrder) {
    Player& player = h.player();
    Projectile& a = bossShot();
    begin(player, a);
    Projectile& b = bossShot();
    begin(b, player);
    EXPECT_EQ(player.getHealth(), 25 - 2 - 2);
    EXPECT_FALSE(h.isRegistered(&a));
    EXPECT_FALSE(h.isRegistered(&b));
}

TEST_F(ContactRules, PrimaryShotMeetingABossShotOnlyMarksItSpentInEitherOrder) {
    Projectile& p1 = primaryShot();
    Projectile& b1 = bossShot();
    begin(p1, b1);
    Projectile& p2 = primaryShot();
    Projectile& b2 = bossShot();
    begin(b2, p2);
    for (Projectile* shot : {&p1, &b1, &p2, &b2}) EXPECT_TRUE(h.isRegistered(shot));
    EXPECT_TRUE(b1.spent);
    EXPECT_TRUE(b2.spent);
    EXPECT_FALSE(p1.spent);
    EXPECT_FALSE(p2.spent);
}

TEST_F(ContactRules, ShotsWithoutStrengthAreRemovedWhenTheyMeetInEitherOrder) {
    Projectile& p1 = primaryShot();
    Projectile& b1 = bossShot();
    p1.addHealth(-1);
    b1.addHealth(-2);
    begin(p1, b1);
    Projectile& p2 = primaryShot();
    Projectile& b2 = bossShot();
    p2.addHealth(-1);
    b2.addHealth(-2);
    begin(b2, p2);
    for (Projectile* shot : {&p1, &b1, &p2, &b2}) EXPECT_FALSE(h.isRegistered(shot));
    EXPECT_FALSE(b1.spent);
}

TEST_F(ContactRules, HeavyShotMarksABossShotSpentInEitherOrder) {
    Projectile& s1 = heavyShot(3);
    Projectile& b1 = bossShot();
    begin(s1, b1);
    Projectile& s2 = heavyShot(3);
    Projectile& b2 = bossShot();
    begin(b2, s2);
    EXPECT_TRUE(b1.spent);
    EXPECT_TRUE(b2.spent);
    for (Projectile* shot : {&s1, &b1, &s2, &b2}) EXPECT_TRUE(h.isRegistered(shot));
}

TEST_F(ContactRules, NamesWithoutARuleAndUnregisteredBodiesAreIgnored) {
    Enemy& boss = h.boss();
    Projectile& unnamed = primaryShot();
    unnamed.setName(std::string(kNewProjectileName));
    begin(boss, unnamed);
    begin(*boss.getGuide(), primaryShot());
    begin(raisedShield(), bossShot());
    EXPECT_EQ(boss.getHealth(), 150);
    EXPECT_EQ(h.shield().getHealth(), 10);
    EXPECT_TRUE(h.isRegistered(&unnamed));

    // A body no registry holds, like a crash-pit box.
    GameObject loose(0.0f, std::make_unique<btSphereShape>(1.0f), {0.0f, 0.0f, 0.0f},
                     {0.0f, 0.0f, 0.0f, 1.0f});
    loose.setName(std::string(kPrimaryShotName));
    begin(boss, loose);
    EXPECT_EQ(boss.getHealth(), 150);
}

namespace {

struct WallCase {
    std::string_view wall;
    bool ButtonPressedNew::*blocked[2];
    bool ButtonPressedNew::*movement[2];
};

using B = ButtonPressedNew;
const WallCase wallCases[] = {
    {kFrontWallName, {&B::blockW, &B::blockW}, {&B::w, &B::w}},
    {kBackWallName, {&B::blockS, &B::blockS}, {&B::s, &B::s}},
    {kUpWallName, {&B::blockSpace, &B::blockSpace}, {&B::space, &B::space}},
    {kLeftWallName, {&B::blockA, &B::blockA}, {&B::a, &B::a}},
    {kRightWallName, {&B::blockD, &B::blockD}, {&B::d, &B::d}},
    {kDownWallName, {&B::blockC, &B::blockShift}, {&B::c, &B::shift}},
};

}  // namespace

TEST_F(ContactRules, SensorTouchingAWallBlocksThatDirectionInEitherOrder) {
    for (const WallCase& c : wallCases) {
        for (bool sensorFirst : {true, false}) {
            buttons.clearAllButPause();
            holdEveryMovementKey(buttons);
            GameObject& wall = objectNamed(c.wall);
            if (sensorFirst)
                begin(sensor(), wall);
            else
                begin(wall, sensor());
            for (auto flag : c.blocked) EXPECT_TRUE(buttons.*flag) << c.wall;
            for (auto flag : c.movement) EXPECT_FALSE(buttons.*flag) << c.wall;
            const int expectedBlocks = c.wall == kDownWallName ? 2 : 1;
            EXPECT_EQ(blockedCount(buttons), expectedBlocks) << c.wall;
        }
    }
}

TEST_F(ContactRules, SensorLeavingAWallClearsItsBlockFlagsInEitherOrder) {
    for (const WallCase& c : wallCases) {
        for (bool sensorFirst : {true, false}) {
            GameObject& wall = objectNamed(c.wall);
            begin(sensor(), wall);
            if (sensorFirst)
                end(sensor(), wall);
            else
                end(wall, sensor());
            EXPECT_EQ(blockedCount(buttons), 0) << c.wall;
        }
    }
}

TEST_F(ContactRules, OnlyTheSensorBlocks) {
    begin(h.player(), objectNamed(kFrontWallName));
    begin(h.boss(), objectNamed(kFrontWallName));
    EXPECT_EQ(blockedCount(buttons), 0);
}

