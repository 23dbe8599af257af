#include "effects/SparkBursts.h"

#include <gtest/gtest.h>

namespace {

constexpr float kFrame = 1.0f / 60.0f;  // seconds
const glm::vec3 kGold(1.0f, 0.7f, 0.2f);

}  // namespace

namespace {

float totalGlow(const SparkBursts& sparks) {
    float total = 0.0f;
    for (std::size_t i = 0; i < sparks.liveCount(); ++i) total += sparks.vertices()[i].colour.a;
    return total;
}

}  // namespace

TEST(SparkBursts, ABurstFadesAndEverySparkIsGoneWithinItsLifetime) {
    SparkBursts sparks;
    sparks.burst(glm::vec3(1.0f, 2.0f, -30.0f), glm::vec3(0.0f), kGold);
    ASSERT_EQ(sparks.liveCount(), static_cast<std::size_t>(SparkBursts::kSparksPerBurst));
    EXPECT_EQ(totalGlow(sparks), static_cast<float>(SparkBursts::kSparksPerBurst));

    float elapsed = 0.0f;
    float lastGlow = totalGlow(sparks);
    while (sparks.liveCount() > 0) {
        sparks.update(kFrame);
        elapsed += kFrame;
        ASSERT_LE(elapsed, SparkBursts::kLifetime + kFrame) << "sparks outlived their lifetime";
        EXPECT_LT(totalGlow(sparks), lastGlow) << "no fade after " << elapsed << " s";
        lastGlow = totalGlow(sparks);
    }
}

// The scene drifts past the camera at 30 units per second: sparks left at their impact
// point would streak backwards instead of staying on what was hit.
TEST(SparkBursts, SparksRideAlongWithWhatTheyBurstFrom) {
    SparkBursts still;
    SparkBursts carried;
    still.burst(glm::vec3(0.0f), glm::vec3(0.0f), kGold);
    carried.burst(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -30.0f), kGold);
    for (int i = 0; i < 6; ++i) {
        still.update(kFrame);
        carried.update(kFrame);
    }
    ASSERT_EQ(still.liveCount(), carried.liveCount());
    for (std::size_t i = 0; i < still.liveCount(); ++i)
        EXPECT_NEAR(carried.vertices()[i].position.z - still.vertices()[i].position.z, -3.0f, 1e-3f);
}

// A whole volley of impacts in one frame: the pool stays within its size and the newest
// sparks are the ones drawn.
TEST(SparkBursts, AFullPoolGivesTheOldestPlacesToNewSparks) {
    SparkBursts sparks;
    const int bursts = static_cast<int>(SparkBursts::kCapacity) / SparkBursts::kSparksPerBurst + 3;
    const auto colourOf = [](int burst) {
        return glm::vec3(1.0f, 0.01f * static_cast<float>(burst), 0.0f);
    };
    for (int i = 0; i < bursts; ++i) sparks.burst(glm::vec3(0.0f), glm::vec3(0.0f), colourOf(i));
    ASSERT_EQ(sparks.liveCount(), SparkBursts::kCapacity);
    EXPECT_EQ(glm::vec3(sparks.vertices()[SparkBursts::kCapacity - 1].colour), colourOf(bursts - 1));
    EXPECT_NE(glm::vec3(sparks.vertices()[0].colour), colourOf(0)) << "the oldest sparks survived";
}
