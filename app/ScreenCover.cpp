#include "app/ScreenCover.h"

namespace {

// Closer to the eye's plane than this, a corner's projection is too large to bound anything.
constexpr float kNearestW = 1e-3f;

}  // namespace

ScreenCover::ScreenCover(const glm::mat4& viewProjection) : clipFromWorld(viewProjection) {}

void ScreenCover::add(const glm::mat4& toWorld, const glm::vec3& low, const glm::vec3& high) {
    const glm::mat4 clipFromBox = clipFromWorld * toWorld;
    for (int corner = 0; corner < 8; ++corner) {
        const glm::vec4 clip = clipFromBox * glm::vec4((corner & 1) ? high.x : low.x,
                                                       (corner & 2) ? high.y : low.y,
                                                       (corner & 4) ? high.z : low.z, 1.0f);
        if (clip.w < kNearestW) {
            behindTheEye = true;
            return;
        }
        const glm::vec2 onScreen = glm::vec2(clip) / clip.w;
        least = glm::min(least, onScreen);
        most = glm::max(most, onScreen);
    }
}

std::optional<WindowShare> ScreenCover::share() const {
    if (behindTheEye) return WindowShare{0.0f, 0.0f, 1.0f, 1.0f};
    const glm::vec2 from = glm::max(least, glm::vec2(-1.0f));
    const glm::vec2 to = glm::min(most, glm::vec2(1.0f));
    if (from.x >= to.x || from.y >= to.y) return std::nullopt;
    // A share's y runs down the window from its top.
    return WindowShare{(from.x + 1.0f) * 0.5f, (1.0f - to.y) * 0.5f, (to.x - from.x) * 0.5f,
                       (to.y - from.y) * 0.5f};
}
