#include "feedback/MatchSounds.h"

#include "game/ButtonPressedNew.h"
#include "game/Game.h"
#include "game/MatchEvents.h"
#include "game/Player.h"
#include "game/Projectile.h"

#include <bitset>

namespace {

constexpr SoundEffect kNoSound = SoundEffect::Count;

// One row per event. The end of a match brings the wreck's blast and the stinger at once.
struct EventSounds {
    MatchEvent event;
    SoundEffect sound;
    SoundEffect stinger = kNoSound;
};
const EventSounds kEventSounds[] = {
    {MatchEvent::PrimaryShot, SoundEffect::PrimaryShot},
    {MatchEvent::HeavyShot, SoundEffect::HeavyShot},
    {MatchEvent::BossShot, SoundEffect::BossShot},
    {MatchEvent::MissileLaunch, SoundEffect::MissileLaunch},
    {MatchEvent::BossHit, SoundEffect::BossHit},
    {MatchEvent::ShieldHit, SoundEffect::ShieldHit},
    {MatchEvent::PlayerHit, SoundEffect::CraftHit},
    {MatchEvent::Reload, SoundEffect::Reload},
    {MatchEvent::EmptyMagazine, SoundEffect::EmptyMagazine},
    {MatchEvent::ShieldUp, SoundEffect::ShieldUp},
    {MatchEvent::ShieldDown, SoundEffect::ShieldDown},
    {MatchEvent::BossDestroyed, SoundEffect::BossDestroyed, SoundEffect::WinStinger},
    {MatchEvent::PlayerDestroyed, SoundEffect::CraftDestroyed, SoundEffect::LoseStinger},
};

using SoundSet = std::bitset<kSoundEffectCount>;

void mark(SoundSet& sounds, SoundEffect effect) {
    if (effect != kNoSound) sounds.set(static_cast<std::size_t>(effect));
}

SoundSet soundsOfThisFrame(const MatchEvents& events) {
    SoundSet sounds;
    for (const EventSounds& row : kEventSounds) {
        if (!events.happened(row.event)) continue;
        mark(sounds, row.sound);
        mark(sounds, row.stinger);
    }
    return sounds;
}

// The craft is carried along -z with the scene; the missiles fly free.
bool isClosingIn(const Projectile& missile, const btVector3& craft, const btVector3& craftVelocity) {
    const btVector3 toCraft = craft - missile.position();
    const float distance = toCraft.length();
    if (distance <= 0.0f) return true;
    const btVector3 relative = missile.getRigidBody()->getLinearVelocity() - craftVelocity;
    const float closingSpeed = relative.dot(toCraft) / distance;  // units/s
    return closingSpeed > 0.0f && distance < closingSpeed * kMissileWarningSeconds;
}

bool missileClosingIn(const Game& game) {
    if (!game.player || !game.gameActive || (game.buttons && game.buttons->paused)) return false;
    const btVector3 craft = game.player->position();
    const btVector3 craftVelocity(0.0f, 0.0f, -game.scrollSpeed);
    for (const Projectile* missile : game.bossBehaviour.homingMissiles)
        if (isClosingIn(*missile, craft, craftVelocity)) return true;
    return false;
}

}  // namespace

void playMatchSounds(const Game& game, EffectPlayer& sounds) {
    const SoundSet started = soundsOfThisFrame(game.events);
    for (std::size_t effect = 0; effect < kSoundEffectCount; ++effect)
        if (started.test(effect)) sounds.playEffect(static_cast<SoundEffect>(effect));
    sounds.loopEffect(SoundEffect::MissileWarning, missileClosingIn(game));
}
