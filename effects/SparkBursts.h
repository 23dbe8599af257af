#pragma once

#include <glm/glm.hpp>

#include <array>
#include <cstddef>
#include <cstdint>

/// Short bursts of glowing sparks where shots land, simulated on the CPU in a fixed pool.
///
/// A burst throws kSparksPerBurst sparks out of one point. Each flies outward, slows,
/// drops a little and fades out; every spark is gone kLifetime seconds after its burst.
/// Sparks ride along with whatever they burst from (the carrier velocity), so they stay
/// with a scene that drifts past the camera. A full pool gives the places of the oldest
/// sparks to the new ones. Allocates nothing after construction; the random directions
/// come from a fixed seed, so a run repeats. Positions in world units, times in seconds.
/// Drawn by SparkRenderer.
class SparkBursts {
public:
    static constexpr std::size_t kCapacity = 256;
    static constexpr int kSparksPerBurst = 20;
    static constexpr float kLifetime = 0.3f;  ///< seconds; no spark lives longer

    /// One live spark as the renderer takes it.
    struct Vertex {
        glm::vec3 position;
        glm::vec4 colour;  ///< rgb, and in a the share of its life left (1 -> 0)
    };

    void burst(const glm::vec3& at, const glm::vec3& carrierVelocity, const glm::vec3& colour);
    /// Moves and ages every spark by `frameTime` seconds and packs the live ones into
    /// vertices(), the newest last.
    void update(float frameTime);

    std::size_t liveCount() const { return live; }
    const Vertex* vertices() const { return packed.data(); }

private:
    struct Spark {
        glm::vec3 position{0.0f};
        glm::vec3 carrierVelocity{0.0f};
        glm::vec3 flightVelocity{0.0f};  ///< its own, on top of the carrier's
        glm::vec3 colour{0.0f};
        float age = 0.0f;
        float life = 0.0f;  ///< 0: the place is free
    };

    float nextRandom();  ///< 0..1
    glm::vec3 randomDirection();
    void pack();

    std::array<Spark, kCapacity> sparks{};
    std::array<Vertex, kCapacity> packed{};
    std::size_t live = 0;
    std::size_t nextPlace = 0;  ///< where the next spark goes: the oldest place, once full
    std::uint32_t randomState = 0x9E3779B9u;
};
