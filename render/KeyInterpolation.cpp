#include "render/KeyInterpolation.h"

#include "render/AssimpConversion.h"

#include <cmath>

namespace {

// Below this (on 1 - cos of the angle between the keys) the blend is linear, where the
// spherical weights would divide by a vanishing sine.
constexpr float kSlerpThreshold = 0.0001f;

struct Interval {
    unsigned first;
    float factor;
    bool holdsLast;
};

template <typename Key>
Interval findInterval(const Key* keys, unsigned count, float t) {
    for (unsigned i = 0; i + 1 < count; ++i) {
        if (!(t < static_cast<float>(keys[i + 1].mTime))) continue;
        const double span = keys[i + 1].mTime - keys[i].mTime;
        // Two keys at the same time leave no interval to blend across.
        const float factor =
            span == 0.0 ? 0.0f : (t - static_cast<float>(keys[i].mTime)) / static_cast<float>(span);
        return {i, factor, false};
    }
    return {count - 1, 0.0f, true};
}

glm::quat normalised(const glm::quat& q) {
    const float length = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
    if (length == 0.0f) return q;
    return glm::quat(q.w / length, q.x / length, q.y / length, q.z / length);
}

glm::quat slerpNormalised(const glm::quat& from, glm::quat to, float factor) {
    float cosom = from.x * to.x + from.y * to.y + from.z * to.z + from.w * to.w;
    if (cosom < 0.0f) {
        // q and -q are the same rotation: take the short way round.
        cosom = -cosom;
        to = glm::quat(-to.w, -to.x, -to.y, -to.z);
    }
    float fromWeight = 1.0f - factor;
    float toWeight = factor;
    if (1.0f - cosom > kSlerpThreshold) {
        const float omega = std::acos(cosom);
        const float sinom = std::sin(omega);
        fromWeight = std::sin((1.0f - factor) * omega) / sinom;
        toWeight = std::sin(factor * omega) / sinom;
    }
    return normalised(
        glm::quat(fromWeight * from.w + toWeight * to.w, fromWeight * from.x + toWeight * to.x,
                  fromWeight * from.y + toWeight * to.y, fromWeight * from.z + toWeight * to.z));
}

}  // namespace

glm::vec3 interpolatedVector(const aiVectorKey* keys, unsigned count, float t,
                             const glm::vec3& whenEmpty) {
    if (count == 0) return whenEmpty;
    const Interval interval = findInterval(keys, count, t);
    const glm::vec3 start = toGlm(keys[interval.first].mValue);
    if (interval.holdsLast) return start;
    const glm::vec3 end = toGlm(keys[interval.first + 1].mValue);
    return start + interval.factor * (end - start);
}

glm::quat interpolatedRotation(const aiQuatKey* keys, unsigned count, float t) {
    if (count == 0) return glm::quat(1.0f, 0.0f, 0.0f, 0.0f);
    const Interval interval = findInterval(keys, count, t);
    const glm::quat start = toGlm(keys[interval.first].mValue);
    if (interval.holdsLast) return start;
    return slerpNormalised(start, toGlm(keys[interval.first + 1].mValue), interval.factor);
}
