#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

// Half a second between frames (a stall, a slow machine): every easing step lands on its
// target. Before the step was clamped, it flew past, and further with every frame.
TEST(FrameRate, HalfSecondFrameLandsCraftCameraAndBossOnTheirTargets) {
    HeadlessGame h;
    const float longFrame = 0.5f;
    const btVector3 craftBefore = h.player().position();
    const glm::vec3 cameraBefore = h.camera->position;
    h.buttons->d = true;
    h.game.frameTime = longFrame;
    h.game.movePlayer();
    const float sensorX = h.player().getGuide()->position().x();
    EXPECT_GT(sensorX, 5.0f);  // far to go in one frame
    EXPECT_FLOAT_EQ(h.player().position().x(), sensorX);
    // The camera moves as far as the craft did, not further.
    EXPECT_FLOAT_EQ(h.camera->position.x - cameraBefore.x, sensorX - craftBefore.x());

    BossBehaviour& mind = h.game.bossBehaviour;
    const auto bossX = [&] { return h.boss().position().x(); };
    const auto guideX = [&] { return h.boss().getGuide()->position().x(); };
    mind.frameTime = longFrame;
    mind.moveBossTo(h.boss(), 8.0f, 12.0f, 0.35f);
    EXPECT_FLOAT_EQ(guideX(), 12.0f * longFrame);
    EXPECT_FLOAT_EQ(bossX(), guideX());

    placeAt(h.player(), {-20.0f, 0.0f, 0.0f});
    mind.chooseAttack = true;  // the chase starts now
    mind.chasePlayer(h.boss(), h.player(), 0.35f, 4.0f, 25.0f);
    EXPECT_FLOAT_EQ(guideX(), 12.0f * longFrame - 25.0f * longFrame);
    EXPECT_FLOAT_EQ(bossX(), guideX());
}
