#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

namespace {

constexpr float kDt = HeadlessGame::kFrame;

// Movement is looked at without the scene drift: movePlayer alone, one step of kDt.
class PlayerMovement : public ::testing::Test {
protected:
    btVector3 sensorStepFor(bool ButtonPressedNew::*flag) {
        placeAt(sensor(), {0.0f, 0.0f, 0.0f});
        placeAt(h.player(), {0.0f, 0.0f, 0.0f});
        h.buttons->clearAllButPause();
        (*h.buttons).*flag = true;
        h.game.movePlayer();
        return sensor().position();
    }
    GameObject& sensor() { return *h.player().getGuide(); }

    HeadlessGame h;
};

}  // namespace

TEST_F(PlayerMovement, SensorMovesFifteenUnitsPerSecondAndSidewaysOnePointTwoTimesFaster) {
    const float s = 15.0f * kDt;
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::w).z(), -s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::s).z(), s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::space).y(), s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::c).y(), -s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::shift).y(), -s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::a).x(), -1.2f * s);
    EXPECT_FLOAT_EQ(sensorStepFor(&ButtonPressedNew::d).x(), 1.2f * s);
}

TEST_F(PlayerMovement, BothDownKeysMoveDownOnlyOnce) {
    h.buttons->c = true;
    h.buttons->shift = true;
    h.game.movePlayer();
    EXPECT_FLOAT_EQ(sensor().position().y(), -15.0f * kDt);
}

TEST_F(PlayerMovement, FlagsCombine) {
    h.buttons->w = true;
    h.buttons->d = true;
    h.buttons->space = true;
    h.game.movePlayer();
    const float s = 15.0f * kDt;
    EXPECT_FLOAT_EQ(sensor().position().x(), 1.2f * s);
    EXPECT_FLOAT_EQ(sensor().position().y(), s);
    EXPECT_FLOAT_EQ(sensor().position().z(), -s);
}

TEST_F(PlayerMovement, GamepadSteersAtAShareOfTheKeysSpeedAndStopsAtBlockedWalls) {
    const float s = 15.0f * kDt;
    struct Case {
        float ButtonPressedNew::*axis;
        float value;
        bool ButtonPressedNew::*block;  // set for the case, or null
        btVector3 step;
    };
    const Case cases[] = {
        {&ButtonPressedNew::padRight, 1.0f, nullptr, {1.2f * s, 0.0f, 0.0f}},
        {&ButtonPressedNew::padRight, -0.5f, nullptr, {-0.6f * s, 0.0f, 0.0f}},
        {&ButtonPressedNew::padForward, 1.0f, nullptr, {0.0f, 0.0f, -s}},
        {&ButtonPressedNew::padForward, -0.25f, nullptr, {0.0f, 0.0f, 0.25f * s}},
        {&ButtonPressedNew::padUp, 1.0f, nullptr, {0.0f, s, 0.0f}},
        {&ButtonPressedNew::padUp, -1.0f, nullptr, {0.0f, -s, 0.0f}},
        {&ButtonPressedNew::padRight, 1.0f, &ButtonPressedNew::blockD, {0.0f, 0.0f, 0.0f}},
        {&ButtonPressedNew::padRight, 1.0f, &ButtonPressedNew::blockA, {1.2f * s, 0.0f, 0.0f}},
        {&ButtonPressedNew::padForward, 1.0f, &ButtonPressedNew::blockW, {0.0f, 0.0f, 0.0f}},
        {&ButtonPressedNew::padForward, -1.0f, &ButtonPressedNew::blockS, {0.0f, 0.0f, 0.0f}},
        {&ButtonPressedNew::padUp, 1.0f, &ButtonPressedNew::blockSpace, {0.0f, 0.0f, 0.0f}},
        {&ButtonPressedNew::padUp, -1.0f, &ButtonPressedNew::blockShift, {0.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << (c.block ? ", blocked" : ""));
        placeAt(sensor(), {0.0f, 0.0f, 0.0f});
        h.buttons->clearAllButPause();
        (*h.buttons).*c.axis = c.value;
        if (c.block) (*h.buttons).*c.block = true;
        h.game.movePlayer();
        EXPECT_LT(sensor().position().distance(c.step), 1e-5f);
    }
}

TEST_F(PlayerMovement, KeyAndGamepadTogetherAreNoFasterThanTheKey) {
    h.buttons->d = true;
    h.buttons->padRight = 1.0f;
    h.game.movePlayer();
    EXPECT_FLOAT_EQ(sensor().position().x(), 1.2f * 15.0f * kDt);
}

TEST_F(PlayerMovement, CraftAndCameraEaseAfterTheSensor) {
    placeAt(sensor(), {10.0f, 4.0f, -2.0f});
    h.camera->position = glm::vec3(1.0f, 2.0f, 3.0f);
    h.game.movePlayer();  // no key held: the sensor stays, the craft and camera follow

    const btVector3 craft = h.player().position();
    EXPECT_NEAR(craft.x(), 10.0f * 0.9f * kDt * 10.0f, 1e-5f);
    EXPECT_NEAR(craft.y(), 4.0f * 0.9f * kDt * 10.0f, 1e-5f);
    EXPECT_NEAR(craft.z(), -2.0f * 0.9f * kDt * 10.0f, 1e-5f);
    // Sideways the camera keeps pace with the craft; up, down and along the track it lags.
    EXPECT_NEAR(h.camera->position.x, 1.0f + kDt * 0.9f * 10.0f * 10.0f, 1e-5f);
    EXPECT_NEAR(h.camera->position.y, 2.0f + kDt * 0.85f * 10.0f * 4.0f, 1e-5f);
    EXPECT_NEAR(h.camera->position.z, 3.0f + kDt * 0.85f * 10.0f * -2.0f, 1e-5f);
    EXPECT_EQ(h.camera->target, glm::vec3(0.0f, 0.0f, h.camera->position.z - 100.0f));
}

TEST_F(PlayerMovement, CraftConvergesOnAStillSensor) {
    placeAt(sensor(), {5.0f, 0.0f, 0.0f});
    for (int i = 0; i < 120; ++i) h.game.movePlayer();
    EXPECT_NEAR(h.player().position().x(), 5.0f, 1e-3f);
}

TEST(PlayerSetUp, CraftIsAKinematicCapsuleWithASensorGuide) {
    HeadlessGame h;
    Player& player = h.player();
    EXPECT_EQ(player.getName(), kPlayerName);
    EXPECT_EQ(player.getGuide()->getName(), kSensorName);
    EXPECT_EQ(player.getHealth(), 25);
    EXPECT_EQ(player.getAmmo(), 15);
    EXPECT_TRUE(player.getRigidBody()->isKinematicObject());
    EXPECT_TRUE(player.getGuide()->getRigidBody()->isKinematicObject());
    EXPECT_FALSE(player.getGuide()->getRigidBody()->hasContactResponse());
    EXPECT_NE(player.getModel(), nullptr);
    EXPECT_EQ(h.game.player, &player);
}

namespace {

// Weapons are looked at without physics: the clock moves and updatePlayerWeapons runs.
class PlayerWeapons : public ::testing::Test {
protected:
    void fireFrame(bool ButtonPressedNew::*flag) {
        (*h.buttons).*flag = true;
        weaponsFrame();
    }
    void weaponsFrame() {
        h.time += kDt;
        h.game.updatePlayerWeapons();
    }
    int shotsNamed(std::string_view name) const {
        int count = 0;
        for (const Projectile* p : h.game.projectiles) count += p->getName() == name;
        return count;
    }

    HeadlessGame h;
};

}  // namespace

TEST_F(PlayerWeapons, PrimaryShotLeavesThreeUnitsAheadAndCostsOneRound) {
    placeAt(h.player(), {2.0f, 1.0f, -5.0f});
    fireFrame(&ButtonPressedNew::mouseLeft);
    ASSERT_EQ(h.game.projectiles.size(), 1u);
    const Projectile& shot = *h.game.projectiles[0];
    EXPECT_EQ(shot.getName(), kPrimaryShotName);
    EXPECT_EQ(shot.getMaxHealth(), 1);
    EXPECT_TRUE(shot.position().distance(btVector3(2.0f, 1.0f, -8.0f)) < 1e-5f);
    EXPECT_EQ(h.player().getAmmo(), 14);
    EXPECT_FALSE(h.buttons->mouseLeft);
}

TEST_F(PlayerWeapons, PrimaryWinsWhenBothAreSetAndTheHeavyShotWaitsAFrame) {
    h.buttons->mouseLeft = true;
    fireFrame(&ButtonPressedNew::mouseRight);
    EXPECT_EQ(shotsNamed(kPrimaryShotName), 1);
    EXPECT_EQ(shotsNamed(kHeavyShotName), 0);
    EXPECT_TRUE(h.buttons->mouseRight);

    weaponsFrame();
    EXPECT_EQ(shotsNamed(kHeavyShotName), 1);
}

TEST_F(PlayerWeapons, HeavyShotSpendsTheMagazineForHalfItsRounds) {
    fireFrame(&ButtonPressedNew::mouseRight);
    ASSERT_EQ(shotsNamed(kHeavyShotName), 1);
    const Projectile& shot = *h.game.projectiles[0];
    EXPECT_EQ(shot.getMaxHealth(), 7);  // 15 / 2
    EXPECT_TRUE(shot.position().distance(btVector3(0.0f, 0.0f, -4.0f)) < 1e-5f);
    EXPECT_EQ(h.player().getAmmo(), 0);
    EXPECT_FLOAT_EQ(h.player().getReloadStart(), h.time);
    EXPECT_FALSE(h.buttons->mouseRight);
}

TEST_F(PlayerWeapons, HeavyShotWithOneRoundLeftDealsNothingAndStillEmptiesTheMagazine) {
    h.player().addAmmo(-14);
    fireFrame(&ButtonPressedNew::mouseRight);
    ASSERT_EQ(shotsNamed(kHeavyShotName), 1);
    EXPECT_EQ(h.game.projectiles[0]->getMaxHealth(), 0);
    EXPECT_EQ(h.player().getAmmo(), 0);
}

TEST_F(PlayerWeapons, FifteenShotsThenNothingForTwoSecondsThenAFullMagazine) {
    for (int i = 0; i < 15; ++i) fireFrame(&ButtonPressedNew::mouseLeft);
    EXPECT_EQ(shotsNamed(kPrimaryShotName), 15);
    EXPECT_EQ(h.player().getAmmo(), 0);
    const float ranDry = h.player().getReloadStart();

    // Held fire during the reload: every frame the flags are swallowed.
    while (h.time + kDt - ranDry <= 1.99f) {
        h.buttons->mouseLeft = true;
        h.buttons->mouseRight = true;
        weaponsFrame();
        EXPECT_FALSE(h.buttons->mouseLeft);
        EXPECT_FALSE(h.buttons->mouseRight);
    }
    EXPECT_EQ(shotsNamed(kPrimaryShotName), 15);
    EXPECT_EQ(shotsNamed(kHeavyShotName), 0);

    h.time = ranDry + 2.01f;
    fireFrame(&ButtonPressedNew::mouseLeft);
    EXPECT_EQ(shotsNamed(kPrimaryShotName), 16);
    EXPECT_EQ(h.player().getAmmo(), 14);
}
