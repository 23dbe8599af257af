#include "render/KeyInterpolation.h"

#include <gtest/gtest.h>
#include <glm/gtc/quaternion.hpp>

#include <cmath>
#include <vector>

namespace {

std::vector<aiVectorKey> xKeys(const std::vector<std::pair<double, float>>& timesAndX) {
    std::vector<aiVectorKey> keys;
    for (const auto& [time, x] : timesAndX) keys.emplace_back(time, aiVector3D(x, 0.0f, 0.0f));
    return keys;
}

float xAt(const std::vector<aiVectorKey>& keys, float t) {
    return interpolatedVector(keys.data(), static_cast<unsigned>(keys.size()), t, glm::vec3(-99.0f))
        .x;
}

aiQuatKey quatKey(double time, const glm::quat& q) {
    return aiQuatKey(time, aiQuaternion(q.w, q.x, q.y, q.z));
}

glm::quat rotationAt(const std::vector<aiQuatKey>& keys, float t) {
    return interpolatedRotation(keys.data(), static_cast<unsigned>(keys.size()), t);
}

// The angle of the rotation between two unit quaternions, in radians, sign-blind.
float angleBetween(const glm::quat& a, const glm::quat& b) {
    const float d = std::fabs(glm::dot(a, b));
    return 2.0f * std::acos(std::fmin(1.0f, d));
}

const glm::vec3 kZ(0.0f, 0.0f, 1.0f);

}  // namespace

TEST(KeyInterpolation, VectorsBlendLinearlyInsideAnInterval) {
    const auto keys = xKeys({{0.0, 0.0f}, {100.0, 10.0f}, {300.0, 30.0f}});
    EXPECT_FLOAT_EQ(xAt(keys, 50.0f), 5.0f);
    EXPECT_FLOAT_EQ(xAt(keys, 200.0f), 20.0f);
}

TEST(KeyInterpolation, TimeEqualToAKeyStartsTheNextInterval) {
    const auto keys = xKeys({{0.0, 0.0f}, {100.0, 10.0f}, {200.0, 40.0f}});
    EXPECT_FLOAT_EQ(xAt(keys, 100.0f), 10.0f);
}

TEST(KeyInterpolation, TimeBeforeTheFirstKeyExtendsTheFirstInterval) {
    const auto keys = xKeys({{100.0, 10.0f}, {200.0, 20.0f}});
    EXPECT_FLOAT_EQ(xAt(keys, 50.0f), 5.0f);
}

TEST(KeyInterpolation, SingleKeyHoldsAtEveryTime) {
    const auto keys = xKeys({{40.0, 3.0f}});
    for (float t : {0.0f, 40.0f, 1000.0f}) EXPECT_FLOAT_EQ(xAt(keys, t), 3.0f) << "t = " << t;
}

TEST(KeyInterpolation, TimeAtOrPastTheLastKeyHoldsTheLastKey) {
    const auto keys = xKeys({{0.0, 0.0f}, {100.0, 4.0f}});
    EXPECT_FLOAT_EQ(xAt(keys, 100.0f), 4.0f);
    EXPECT_FLOAT_EQ(xAt(keys, 1500.0f), 4.0f);
}

TEST(KeyInterpolation, EmptyListGivesTheFallback) {
    EXPECT_EQ(interpolatedVector(nullptr, 0, 5.0f, glm::vec3(1.0f)), glm::vec3(1.0f));
    const glm::quat none = interpolatedRotation(nullptr, 0, 5.0f);
    EXPECT_EQ(none, glm::quat(1.0f, 0.0f, 0.0f, 0.0f));
}

TEST(KeyInterpolation, KeysAtTheSameTimeStayFinite) {
    const auto keys = xKeys({{100.0, 1.0f}, {100.0, 2.0f}, {200.0, 3.0f}});
    EXPECT_TRUE(std::isfinite(xAt(keys, 50.0f)));
}

TEST(KeyInterpolation, RotationHalfwayIsHalfTheTurn) {
    const glm::quat start(1.0f, 0.0f, 0.0f, 0.0f);
    const glm::quat end = glm::angleAxis(glm::radians(90.0f), kZ);
    const glm::quat halfway = rotationAt({quatKey(0.0, start), quatKey(10.0, end)}, 5.0f);
    EXPECT_NEAR(angleBetween(halfway, glm::angleAxis(glm::radians(45.0f), kZ)), 0.0f, 1e-3f);
    EXPECT_NEAR(glm::length(halfway), 1.0f, 1e-6f);
}

// q and -q are one orientation: the blend must not swing through a half turn.
TEST(KeyInterpolation, RotationFromQToMinusQStaysPut) {
    const glm::quat q = glm::angleAxis(glm::radians(30.0f), glm::normalize(glm::vec3(1, 2, 3)));
    const std::vector<aiQuatKey> keys = {quatKey(0.0, q), quatKey(10.0, -q)};
    for (float t : {2.5f, 5.0f, 7.5f})
        EXPECT_NEAR(angleBetween(rotationAt(keys, t), q), 0.0f, 1e-3f) << "t = " << t;
}

TEST(KeyInterpolation, RotationTakesTheShortWayRound) {
    const glm::quat start = glm::angleAxis(glm::radians(10.0f), kZ);
    const glm::quat endFlipped = -glm::angleAxis(glm::radians(50.0f), kZ);
    const glm::quat halfway = rotationAt({quatKey(0.0, start), quatKey(10.0, endFlipped)}, 5.0f);
    EXPECT_NEAR(angleBetween(halfway, glm::angleAxis(glm::radians(30.0f), kZ)), 0.0f, 1e-3f);
}

TEST(KeyInterpolation, NearlyEqualRotationsBlendToAUnitQuaternion) {
    const glm::quat start = glm::angleAxis(0.0f, kZ);
    const glm::quat end = glm::angleAxis(0.001f, kZ);
    const glm::quat halfway = rotationAt({quatKey(0.0, start), quatKey(10.0, end)}, 5.0f);
    EXPECT_NEAR(glm::length(halfway), 1.0f, 1e-6f);
    EXPECT_NEAR(angleBetween(halfway, glm::angleAxis(0.0005f, kZ)), 0.0f, 1e-4f);
}
