#include "game/MatchRunner.h"
#include "game/ObjectNames.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

constexpr float kDt = HeadlessGame::kFrame;
constexpr int kObjectsOfAFreshMatch = 10;  // craft, sensor, boss guide, boss, six walls

int staticBodies(const btDiscreteDynamicsWorld& world) {
    int count = 0;
    for (int i = 0; i < world.getNumCollisionObjects(); ++i)
        count += world.getCollisionObjectArray()[i]->isStaticObject();
    return count;
}

int shotsNamed(const Game& game, std::string_view name) {
    int count = 0;
    for (const Projectile* p : game.projectiles) count += p->getName() == name;
    return count;
}

void expectNear(const glm::vec3& actual, const btVector3& expected) {
    EXPECT_NEAR(actual.x, expected.x(), 1e-4f);
    EXPECT_NEAR(actual.y, expected.y(), 1e-4f);
    EXPECT_NEAR(actual.z, expected.z(), 1e-4f);
}

}  // namespace

TEST(Match, FiringAtTheBossUntilItsHealthIsGoneEndsTheMatch) {
    HeadlessGame h;
    h.player().addHealth(10000);                   // only the boss's health is under test here
    h.game.bossBehaviour.random = repeating({0});  // missile barrages from the centre line
    int frames = 0;
    while (h.game.gameActive) {
        h.buttons->mouseLeft = true;  // fire held down
        h.frame();
        ASSERT_LT(++frames, 60 * 120) << "boss health " << h.boss().getHealth();
    }
    EXPECT_LT(h.boss().getHealth(), 1);
    EXPECT_FALSE(h.boss().getRigidBody()->isKinematicObject());
    EXPECT_TRUE(h.player().getRigidBody()->isKinematicObject());
    EXPECT_FLOAT_EQ(h.game.scrollSpeed, 0.0f);
    EXPECT_EQ(staticBodies(*h.game.world), 5);  // the crash pit

    // Decided: the wreck falls into its pit, the camera watches it, nobody fires.
    const float fellFrom = h.boss().position().y();
    const int playerShots = shotsNamed(h.game, kPrimaryShotName);
    for (int i = 0; i < 120; ++i) {
        h.buttons->mouseLeft = true;
        h.frame();
    }
    EXPECT_LT(h.boss().position().y(), fellFrom - 0.4f);
    EXPECT_GT(h.boss().position().y(), -5.5f);  // caught by the pit's floor
    EXPECT_LE(shotsNamed(h.game, kPrimaryShotName), playerShots);
    expectNear(h.camera->target, h.drawnAt(h.boss()));
    const float cameraZ = h.camera->position.z;
    h.frame();
    EXPECT_FLOAT_EQ(h.camera->position.z, cameraZ);  // nothing drifts any more
}

TEST(Match, PlayerAtZeroHealthLosesEvenWhenTheBossFallsInTheSameFrame) {
    HeadlessGame h;
    h.player().addHealth(-25);
    h.boss().addHealth(-150);
    h.frame();
    EXPECT_FALSE(h.game.gameActive);
    EXPECT_FALSE(h.player().getRigidBody()->isKinematicObject());
    EXPECT_TRUE(h.boss().getRigidBody()->isKinematicObject());
    EXPECT_FLOAT_EQ(h.player().getRigidBody()->getGravity().y(), -10.0f);

    h.frame();
    expectNear(h.camera->target, h.drawnAt(h.player()));
}

TEST(Match, HealthBelowZeroCountsAsZero) {
    HeadlessGame h;
    h.boss().addHealth(-170);
    h.frame();
    EXPECT_FALSE(h.game.gameActive);
    EXPECT_FALSE(h.boss().getRigidBody()->isKinematicObject());
}

TEST(Match, CrashPitBoxesTriggerNoRule) {
    HeadlessGame h;
    h.player().addHealth(-25);
    h.frame();
    const btCollisionObject* pitBox = nullptr;
    for (int i = 0; i < h.game.world->getNumCollisionObjects(); ++i)
        if (h.game.world->getCollisionObjectArray()[i]->isStaticObject())
            pitBox = h.game.world->getCollisionObjectArray()[i];
    ASSERT_NE(pitBox, nullptr);
    EXPECT_EQ(h.game.findObject(pitBox), nullptr);
    EXPECT_EQ(static_cast<int>(h.game.objects.size()), kObjectsOfAFreshMatch);
}

TEST(Match, EverythingButProjectilesDriftsAtTheScrollSpeedAndModelsFollow) {
    HeadlessGame h;
    const float cameraZ = h.camera->position.z;
    h.frame();
    EXPECT_NEAR(h.boss().getGuide()->position().z(), -30.0f - 30.0f * kDt, 1e-4f);
    for (GameObject* object : h.game.objects) {
        if (object->getName() == kFrontWallName) {
            EXPECT_NEAR(object->position().z(), -20.0f - 30.0f * kDt, 1e-4f);
        }
    }
    EXPECT_NEAR(h.camera->position.z, cameraZ - 30.0f * kDt, 1e-4f);
    expectNear(h.boss().getModel()->recordedPosition, h.drawnAt(h.boss()));
    expectNear(h.player().getModel()->recordedPosition, h.drawnAt(h.player()));
}

TEST(Match, APausedRunnerTakesNoStepAndChangesNothing) {
    HeadlessGame h;
    MatchRunner runner(h.game);
    ControlFrame pressing;
    pressing.keys = ControlFrame::Fire | ControlFrame::Forward;
    const btVector3 sensorBefore = h.player().getGuide()->position();
    const btVector3 bossBefore = h.boss().position();
    for (int i = 0; i < 30; ++i) EXPECT_EQ(runner.runPass(kDt, true, [&] { return pressing; }), 0);
    EXPECT_EQ(h.game.stepCount(), 0u);
    EXPECT_EQ(h.player().getGuide()->position(), sensorBefore);
    EXPECT_EQ(h.boss().position(), bossBefore);
    EXPECT_TRUE(h.game.projectiles.empty());
}

TEST(Match, RestartBuildsAFreshMatchOnAFreshWorld) {
    HeadlessGame h;
    h.buttons->mouseLeft = true;
    h.frames(20);
    h.boss().shieldWanted = true;
    h.game.bossBehaviour.sweepPasses = 2;
    h.game.bossBehaviour.missilesLaunched = 5;
    h.boss().addHealth(-200);
    h.frames(3);
    ASSERT_FALSE(h.game.gameActive);

    h.buttons->paused = true;
    h.buttons->w = true;
    h.buttons->blockD = true;
    h.buttons->blockMouseLeft = true;
    h.game.restartMatch(h.emptyModel, h.emptyModel, 1u);

    EXPECT_TRUE(h.game.gameActive);
    EXPECT_EQ(h.game.stepCount(), 0u);
    EXPECT_FLOAT_EQ(h.game.scrollSpeed, 30.0f);
    EXPECT_TRUE(h.game.bossBehaviour.chooseAttack);
    EXPECT_EQ(h.game.bossBehaviour.sweepPasses, 0);
    EXPECT_EQ(h.game.bossBehaviour.missilesLaunched, 0);
    EXPECT_TRUE(h.game.bossBehaviour.homingMissiles.empty());
    EXPECT_TRUE(h.game.projectiles.empty());
    EXPECT_TRUE(h.game.contactPairs.empty());
    EXPECT_EQ(static_cast<int>(h.game.objects.size()), kObjectsOfAFreshMatch);
    EXPECT_EQ(h.game.world->getNumCollisionObjects(), kObjectsOfAFreshMatch);
    EXPECT_EQ(staticBodies(*h.game.world), 0);
    EXPECT_NE(h.game.world.get(), nullptr);
    EXPECT_EQ(h.game.world->getDebugDrawer(), h.game.debugger.get());
    EXPECT_EQ(h.player().getHealth(), 25);
    EXPECT_EQ(h.boss().getHealth(), 150);
    EXPECT_TRUE(h.boss().getRigidBody()->isKinematicObject());
    EXPECT_FALSE(h.boss().shieldWanted);
    EXPECT_TRUE(h.buttons->paused);
    EXPECT_FALSE(h.buttons->w);
    EXPECT_FALSE(h.buttons->blockD);
    EXPECT_FALSE(h.buttons->blockMouseLeft);

    h.buttons->paused = false;
    h.buttons->mouseLeft = true;
    h.frames(5);
    EXPECT_TRUE(h.game.gameActive);
    EXPECT_EQ(shotsNamed(h.game, kPrimaryShotName), 1);
}

// A restart builds the match in what the last one left: the craft and its model copy in
// place, the walls and guides from spare objects (a crash pit's among them), named afresh.
TEST(Match, RestartingManyTimesRebuildsTheSameMatchInTheSameRoom) {
    HeadlessGame h;
    const auto names = [&] {
        std::multiset<std::string> named;
        for (const GameObject* object : h.game.objects) named.insert(object->getName());
        return named;
    };
    const std::multiset<std::string> freshNames = names();
    const Player* craft = &h.player();
    const Model* craftModel = h.player().getModel();
    for (int round = 0; round < 5; ++round) {
        h.buttons->mouseLeft = true;
        h.frames(30);
        if (round % 2 == 0) h.player().addHealth(-100);  // a crash pit, or none
        h.frames(2);
        h.game.restartMatch(h.emptyModel, h.emptyModel, 1u);
        EXPECT_EQ(h.game.world->getNumCollisionObjects(), kObjectsOfAFreshMatch);
        EXPECT_EQ(names(), freshNames);
        EXPECT_EQ(&h.player(), craft);
        EXPECT_EQ(h.player().getModel(), craftModel);
    }
}

TEST(Match, ShotsInFlightAtARestartAreLaunchedAgainInTheNextMatch) {
    HeadlessGame h;
    h.buttons->mouseLeft = true;
    h.frames(5);
    const std::vector<Projectile*> inFlight = h.game.projectiles;
    ASSERT_FALSE(inFlight.empty());
    h.game.restartMatch(h.emptyModel, h.emptyModel, 1u);
    h.buttons->mouseLeft = true;
    h.frames(2);
    ASSERT_FALSE(h.game.projectiles.empty());
    const Projectile* relaunched = h.game.projectiles.front();
    EXPECT_NE(std::find(inFlight.begin(), inFlight.end(), relaunched), inFlight.end());
}

TEST(Match, TearDownIsSafeTwice) {
    HeadlessGame h;
    h.frames(3);
    h.game.tearDown();
    h.game.tearDown();
    EXPECT_EQ(h.game.world, nullptr);
    EXPECT_TRUE(h.game.objects.empty());
    h.game.stepPhysics();  // no world: nothing to step
}
