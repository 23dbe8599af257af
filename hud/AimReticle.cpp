#include "hud/AimReticle.h"

#include "render/CustomCamera.h"

namespace {

// In fractions of the window's height.
constexpr float kGap = 0.012f;  // from the aim point to the inner end of a tick
constexpr float kTickLength = 0.02f;
constexpr float kTickWidth = 0.005f;
// Pale yellow-green: stands out on the red boss, the warm ground and the night sky alike.
const glm::vec4 kTickColour(0.9f, 1.0f, 0.5f, 0.85f);

// Where each tick sits against the aim point, in tick units: its direction from the middle.
const glm::vec2 kTickDirections[] = {{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}};

bool insideWindow(const glm::vec2& fraction) {
    return fraction.x >= 0.0f && fraction.x <= 1.0f && fraction.y >= 0.0f && fraction.y <= 1.0f;
}

}  // namespace

AimReticle::AimReticle(Shader* hudShader, float width, float height) : shader(hudShader) {
    fitToWindow(width, height);
}

void AimReticle::fitToWindow(float width, float height) {
    windowWidth = width;
    windowHeight = height;
    const float heightToWidth = height / width;  // a height fraction as a width fraction
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const bool across = kTickDirections[i].y == 0.0f;
        const float w = (across ? kTickLength : kTickWidth) * heightToWidth;
        const float h = across ? kTickWidth : kTickLength;
        ticks[i] = std::make_unique<HUD>(makeHudQuad(0.0f, 0.0f, w, h, kTickColour), shader, width,
                                         height);
    }
    placeTicks();
}

void AimReticle::aimAt(const glm::vec3& target, const glm::mat4& viewProjection) {
    const std::optional<glm::vec2> fraction = windowFraction(target, viewProjection);
    shown = fraction && insideWindow(*fraction);
    if (!shown) return;
    aim = *fraction;
    placeTicks();
}

void AimReticle::placeTicks() {
    const float heightToWidth = windowHeight / windowWidth;
    const float reach = kGap + 0.5f * kTickLength;  // aim point to a tick's middle
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        HUD& tick = *ticks[i];
        const glm::vec2 middle =
            aim + reach * kTickDirections[i] * glm::vec2(heightToWidth, 1.0f);
        tick.x = middle.x - 0.5f * tick.w;
        tick.y = middle.y - 0.5f * tick.h;
        tick.setFill(1.0f, 1.0f);  // rebuilds its placement
    }
}

void AimReticle::draw() const {
    if (!shown) return;
    for (const std::unique_ptr<HUD>& tick : ticks) tick->draw();
}
