#pragma once

#include <cstddef>

/// Every sound effect of the game; SoundEngine loads one file for each.
enum class SoundEffect {
    PrimaryShot,
    HeavyShot,
    BossShot,
    MissileLaunch,
    MissileWarning,  ///< loops while a homing missile closes in
    BossHit,
    ShieldHit,
    CraftHit,
    Reload,
    EmptyMagazine,
    ShieldUp,
    ShieldDown,
    BossDestroyed,
    CraftDestroyed,
    WinStinger,
    LoseStinger,
    Count
};

constexpr std::size_t kSoundEffectCount = static_cast<std::size_t>(SoundEffect::Count);

/// What the match's sounds need from a sound layer: start an effect once, or keep one
/// looping. The engine plays them; tests record them.
class EffectPlayer {
public:
    /// Starts `effect` from its beginning, beside whatever already plays.
    virtual void playEffect(SoundEffect effect) = 0;
    /// Starts `effect` looping, or lets it fade out; asking for what already holds does nothing.
    virtual void loopEffect(SoundEffect effect, bool looping) = 0;

protected:
    ~EffectPlayer() = default;  // never owned through this interface
};
