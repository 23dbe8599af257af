#include "feedback/HitFlashes.h"

#include "game/MatchEvents.h"
#include "render/Model.h"

#include <algorithm>

namespace {

// Colours above 1 brighten: the hull paint and the texture tint both scale by them.
// The boss flashes white-hot, the craft a reddish white, the shield an electric blue.
const glm::vec3 kFlashColours[] = {
    {2.4f, 2.1f, 1.8f},  // Boss
    {3.0f, 2.2f, 2.0f},  // Craft
    {2.0f, 3.4f, 4.2f},  // Shield
};

struct FlashRule {
    MatchEvent event;
    FlashTarget target;
};
constexpr FlashRule kFlashRules[] = {
    {MatchEvent::BossHit, FlashTarget::Boss},
    {MatchEvent::PlayerHit, FlashTarget::Craft},
    {MatchEvent::ShieldHit, FlashTarget::Shield},
};

bool isUncoloured(const glm::vec3& colour) { return colour == glm::vec3(0.0f); }

}  // namespace

void HitFlashes::react(const MatchEvents& events) {
    for (const FlashRule& rule : kFlashRules)
        if (events.happened(rule.event)) start(rule.target);
}

void HitFlashes::start(FlashTarget target) { secondsLeft[index(target)] = kDuration; }

void HitFlashes::update(float frameTime) {
    for (float& left : secondsLeft) left = std::max(left - frameTime, 0.0f);
}

float HitFlashes::strength(FlashTarget target) const {
    return secondsLeft[index(target)] / kDuration;
}

glm::vec3 flashColour(FlashTarget target, const glm::vec3& own, float strength) {
    const glm::vec3 base = isUncoloured(own) ? glm::vec3(1.0f) : own;
    return glm::mix(base, kFlashColours[static_cast<std::size_t>(target)], strength);
}

FlashPaint::FlashPaint(Model* model, FlashTarget target, float strength) {
    if (!model || model->meshes.empty() || strength <= 0.0f) return;
    painted = model;
    ownColour = model->meshes.front().model_rgbColor;
    model->setColor(flashColour(target, ownColour, strength));
}

FlashPaint::~FlashPaint() {
    if (painted) painted->setColor(ownColour);
}
