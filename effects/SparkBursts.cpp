#include "effects/SparkBursts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = 6.2831853f;
constexpr float kSlowestSpeed = 4.0f;  // units per second, away from the impact
constexpr float kFastestSpeed = 12.0f;
constexpr float kShortestLife = 0.6f;  // share of kLifetime
constexpr float kDrag = 4.0f;          // per second
constexpr float kFall = 9.0f;          // units per second squared
// Each spark starts up to this far (seconds) into its flight, so the very first frame of a
// burst already shows a spray instead of one dot where every spark overlaps.
constexpr float kLongestHeadStart = 0.08f;

}  // namespace

void SparkBursts::burst(const glm::vec3& at, const glm::vec3& carrierVelocity,
                        const glm::vec3& colour) {
    for (int i = 0; i < kSparksPerBurst; ++i) {
        Spark& spark = sparks[nextPlace];
        nextPlace = (nextPlace + 1) % kCapacity;
        spark.carrierVelocity = carrierVelocity;
        const float speed = kSlowestSpeed + (kFastestSpeed - kSlowestSpeed) * nextRandom();
        spark.flightVelocity = randomDirection() * speed;
        spark.position = at + spark.flightVelocity * (kLongestHeadStart * nextRandom());
        spark.colour = colour;
        spark.age = 0.0f;
        spark.life = kLifetime * (kShortestLife + (1.0f - kShortestLife) * nextRandom());
    }
    pack();
}

void SparkBursts::update(float frameTime) {
    const float slowing = std::max(1.0f - kDrag * frameTime, 0.0f);
    for (Spark& spark : sparks) {
        if (spark.life <= 0.0f) continue;
        spark.age += frameTime;
        if (spark.age >= spark.life) {
            spark.life = 0.0f;
            continue;
        }
        spark.position += (spark.carrierVelocity + spark.flightVelocity) * frameTime;
        spark.flightVelocity *= slowing;
        spark.flightVelocity.y -= kFall * frameTime;
    }
    pack();
}

// Oldest place first, so the newest sparks are drawn last.
void SparkBursts::pack() {
    live = 0;
    for (std::size_t k = 0; k < kCapacity; ++k) {
        const Spark& spark = sparks[(nextPlace + k) % kCapacity];
        if (spark.life <= 0.0f) continue;
        packed[live++] = {spark.position, glm::vec4(spark.colour, 1.0f - spark.age / spark.life)};
    }
}

// xorshift32: plenty for scattering sparks, and the same every run.
float SparkBursts::nextRandom() {
    randomState ^= randomState << 13;
    randomState ^= randomState >> 17;
    randomState ^= randomState << 5;
    return static_cast<float>(randomState >> 8) / static_cast<float>(1u << 24);
}

glm::vec3 SparkBursts::randomDirection() {
    const float z = 2.0f * nextRandom() - 1.0f;
    const float around = kTwoPi * nextRandom();
    const float radius = std::sqrt(std::max(1.0f - z * z, 0.0f));
    return glm::vec3(radius * std::cos(around), radius * std::sin(around), z);
}
