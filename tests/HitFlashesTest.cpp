#include "feedback/HitFlashes.h"

#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

namespace {

constexpr float kFrame = HeadlessGame::kFrame;
const FlashTarget kTargets[] = {FlashTarget::Boss, FlashTarget::Craft, FlashTarget::Shield};

// Real hits through the contact rules, so the flashes answer the events the game notes.
class HitFlash : public ::testing::Test {
protected:
    void hit(FlashTarget target) {
        Game& game = h.game;
        switch (target) {
        case FlashTarget::Boss:
            game.onContactBegin(primaryShot().getRigidBody(), h.boss().getRigidBody());
            break;
        case FlashTarget::Shield:
            h.boss().shieldWanted = true;
            game.bossBehaviour.updateBoss(h.boss(), nullptr);
            game.onContactBegin(h.shield().getRigidBody(), primaryShot().getRigidBody());
            break;
        default:
            game.onContactBegin(h.player().getRigidBody(), bossShot().getRigidBody());
        }
        flashes.react(game.events);
        game.events.clear();
    }
    Projectile& primaryShot() { return *h.game.armory.firePrimaryShot({0.0f, 50.0f, 0.0f}, nullptr); }
    Projectile& bossShot() {
        return *h.game.armory.fireBossShot({0.0f, 110.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, 0.0f, nullptr);
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i) flashes.update(kFrame);
    }

    HeadlessGame h;
    HitFlashes flashes;
};

}  // namespace

TEST_F(HitFlash, EachHitFlashesWhatWasHitAtFullStrengthAndNothingElse) {
    for (FlashTarget target : kTargets) {
        HitFlashes fresh;
        flashes = fresh;
        hit(target);
        for (FlashTarget other : kTargets)
            EXPECT_EQ(flashes.strength(other), other == target ? 1.0f : 0.0f)
                << "hit " << static_cast<int>(target) << ", looked at " << static_cast<int>(other);
    }
}

// About 80 ms: five frames at 60 per second see it, the sixth does not.
TEST_F(HitFlash, FadesFrameByFrameAndIsGoneAfterItsDuration) {
    hit(FlashTarget::Craft);
    float last = flashes.strength(FlashTarget::Craft);
    for (int frame = 1; frame <= 4; ++frame) {
        flashes.update(kFrame);
        const float now = flashes.strength(FlashTarget::Craft);
        EXPECT_GT(now, 0.0f) << "gone after " << frame << " frames";
        EXPECT_LT(now, last) << "no fade in frame " << frame;
        last = now;
    }
    frames(1);
    EXPECT_EQ(flashes.strength(FlashTarget::Craft), 0.0f);
}

TEST_F(HitFlash, ANewHitStartsTheFlashOver) {
    hit(FlashTarget::Boss);
    frames(3);
    hit(FlashTarget::Boss);
    EXPECT_EQ(flashes.strength(FlashTarget::Boss), 1.0f);
    frames(4);
    EXPECT_GT(flashes.strength(FlashTarget::Boss), 0.0f);
}

// A flash brightens whatever the model's own colour: a painted hull and an uncoloured
// (textured) shield alike; at strength 0 each is left exactly as it was painted.
TEST(FlashColour, BrightensFromTheModelsOwnColourAndEndsThere) {
    const glm::vec3 red(1.0f, 0.0f, 0.0f);
    const glm::vec3 full = flashColour(FlashTarget::Boss, red, 1.0f);
    EXPECT_GT(full.g, 1.0f);
    EXPECT_GT(full.b, 1.0f);
    EXPECT_EQ(flashColour(FlashTarget::Boss, red, 0.0f), red);

    const glm::vec3 shield = flashColour(FlashTarget::Shield, glm::vec3(0.0f), 0.1f);
    EXPECT_GE(glm::min(shield.r, glm::min(shield.g, shield.b)), 1.0f)
        << "a texture tinted below white would darken at the start of the flash";
    EXPECT_EQ(flashColour(FlashTarget::Shield, glm::vec3(0.0f), 0.0f), glm::vec3(1.0f));
}
