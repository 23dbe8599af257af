#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>

/// Something the match did that a player should see, hear or have counted.
enum class MatchEvent {
    PrimaryShot,
    HeavyShot,
    BossShot,
    MissileLaunch,
    BossHit,
    ShieldHit,
    PlayerHit,
    Reload,         ///< the magazine is full again
    EmptyMagazine,  ///< a shot asked for while the magazine reloads
    ShieldUp,
    ShieldDown,
    BossDestroyed,
    PlayerDestroyed,
    Count
};

/// What happened in the match since the shell last looked. The game and its contact rules
/// note events as they happen; the shell reads them once per drawn frame (sounds, flashes,
/// shake, sparks, match statistics) and then clears them. Fixed size: noting an event
/// never allocates.
class MatchEvents {
public:
    /// A hit and where it landed, in world units.
    struct Impact {
        MatchEvent kind;
        glm::vec3 position;
    };
    static constexpr std::size_t kMaxImpacts = 32;  ///< later impacts of a frame still count

    void note(MatchEvent event) { ++counts[index(event)]; }
    void noteImpact(MatchEvent event, const glm::vec3& position) {
        note(event);
        if (impactCount < kMaxImpacts) impacts[impactCount++] = {event, position};
    }
    int count(MatchEvent event) const { return counts[index(event)]; }
    bool happened(MatchEvent event) const { return count(event) > 0; }

    const Impact* beginImpacts() const { return impacts.data(); }
    const Impact* endImpacts() const { return impacts.data() + impactCount; }

    void clear() {
        counts.fill(0);
        impactCount = 0;
    }

private:
    static std::size_t index(MatchEvent event) { return static_cast<std::size_t>(event); }

    std::array<int, static_cast<std::size_t>(MatchEvent::Count)> counts{};
    std::array<Impact, kMaxImpacts> impacts{};
    std::size_t impactCount = 0;
};
