// The shell's event-to-sound table on a headless match, heard through a recording sound
// layer instead of the mixer.

#include "feedback/MatchSounds.h"
#include "game/Projectile.h"
#include "support/HeadlessGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace {

class RecordingSounds final : public EffectPlayer {
public:
    void playEffect(SoundEffect effect) override { played.push_back(effect); }
    void loopEffect(SoundEffect effect, bool looping) override { loops[static_cast<size_t>(effect)] = looping; }
    bool isLooping(SoundEffect effect) const { return loops[static_cast<size_t>(effect)]; }

    std::vector<SoundEffect> played;

private:
    std::array<bool, kSoundEffectCount> loops{};
};

using Sounds = std::vector<SoundEffect>;

class MatchSounds : public ::testing::Test {
protected:
    // What the shell does at the end of a drawn frame: the sounds, then the clear.
    Sounds soundsOfTheFrame() {
        sounds.played.clear();
        playMatchSounds(game, sounds);
        game.events.clear();
        return sounds.played;
    }
    // Shots fired in an earlier frame, whose firing has been heard already.
    Projectile& primaryShotInFlight() { return earlierFrame(*game.armory.firePrimaryShot({0.0f, 50.0f, 0.0f}, nullptr)); }
    Projectile& bossShotInFlight() {
        return earlierFrame(*game.armory.fireBossShot({0.0f, 110.0f, 0.0f}, {0.0f, 0.0f, 1.0f}, 0.05f, nullptr));
    }
    Enemy& raisedShield() {
        h.boss().shieldWanted = true;
        game.bossBehaviour.updateBoss(h.boss(), nullptr);
        return earlierFrame(h.shield());
    }
    void hit(GameObject& target, GameObject& shot) { game.onContactBegin(target.getRigidBody(), shot.getRigidBody()); }
    // A missile `ahead` units in front of the craft, flying along +z (toward the craft) at
    // `speed` units/s, steered by the boss.
    void homingMissileAhead(float ahead, float speed) {
        const btVector3 spawn = h.player().position() - btVector3(0.0f, 0.0f, ahead);
        Projectile* missile = game.armory.launchMissile(spawn, btVector3(0.0f, 0.0f, 0.0f), nullptr);
        missile->getRigidBody()->setLinearVelocity(btVector3(0.0f, 0.0f, speed));
        game.bossBehaviour.homingMissiles.push_back(missile);
    }

    HeadlessGame h;
    Game& game = h.game;
    RecordingSounds sounds;

private:
    template <class T>
    T& earlierFrame(T& object) {
        game.events.clear();
        return object;
    }
};

}  // namespace

TEST_F(MatchSounds, EachShotAndHitPlaysItsOwnSoundOnce) {
    const struct {
        const char* what;
        std::function<void()> happen;
        SoundEffect sound;
    } cases[] = {
        {"primary shot", [&] { h.buttons->mouseLeft = true; game.updatePlayerWeapons(); }, SoundEffect::PrimaryShot},
        {"boss hit", [&] { hit(h.boss(), primaryShotInFlight()); }, SoundEffect::BossHit},
        {"shield hit", [&] { hit(raisedShield(), primaryShotInFlight()); }, SoundEffect::ShieldHit},
        {"player hit", [&] { hit(h.player(), bossShotInFlight()); }, SoundEffect::CraftHit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.happen();
        EXPECT_EQ(soundsOfTheFrame(), Sounds{c.sound});
        EXPECT_EQ(soundsOfTheFrame(), Sounds{});  // and not again in the next frame
    }
}

TEST_F(MatchSounds, TenShotsInOneFramePlayTheShotSoundOnce) {
    for (int i = 0; i < 10; ++i) game.armory.firePrimaryShot({0.0f, 50.0f, 0.0f}, nullptr);
    EXPECT_EQ(soundsOfTheFrame(), Sounds{SoundEffect::PrimaryShot});
}

TEST_F(MatchSounds, AFallenBossBringsItsBlastAndTheWinStinger) {
    h.boss().addHealth(-h.boss().getHealth());
    h.frame();
    const Sounds heard = soundsOfTheFrame();
    for (SoundEffect sound : {SoundEffect::BossDestroyed, SoundEffect::WinStinger})
        EXPECT_EQ(std::count(heard.begin(), heard.end(), sound), 1);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), SoundEffect::LoseStinger), 0);
}

// The craft is carried along -z at the scroll speed; a missile ahead of it closes in at
// the difference of the two speeds.
TEST_F(MatchSounds, TheMissileWarningLoopsOnlyWhileAHomingMissileIsSecondsAway) {
    const struct {
        const char* what;
        float ahead;  ///< units
        float speed;  ///< units/s along +z
        bool warned;
    } cases[] = {
        {"a second away", 20.0f, 0.0f, true},
        {"closing fast", 60.0f, 40.0f, true},
        {"flying away faster than the craft", 20.0f, -60.0f, false},
        {"too far to matter yet", 300.0f, 20.0f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        game.bossBehaviour.homingMissiles.clear();
        homingMissileAhead(c.ahead, c.speed);
        soundsOfTheFrame();
        EXPECT_EQ(sounds.isLooping(SoundEffect::MissileWarning), c.warned);
    }

    game.bossBehaviour.homingMissiles.clear();
    homingMissileAhead(20.0f, 0.0f);
    h.buttons->paused = true;
    soundsOfTheFrame();
    EXPECT_FALSE(sounds.isLooping(SoundEffect::MissileWarning)) << "paused";
    h.buttons->paused = false;
    soundsOfTheFrame();
    EXPECT_TRUE(sounds.isLooping(SoundEffect::MissileWarning)) << "playing on";
    game.bossBehaviour.homingMissiles.clear();
    soundsOfTheFrame();
    EXPECT_FALSE(sounds.isLooping(SoundEffect::MissileWarning)) << "the missile is gone";
}
