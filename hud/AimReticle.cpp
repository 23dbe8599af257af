#include "hud/AimReticle.h"

#include "render/CustomCamera.h"

namespace {

// In fractions of the window's height.
constexpr float kGap = 0.012f;  // from the aim point to the inner end of a tick
constexpr float kTickLength = 0.02f;
constexpr float kTickWidth = 0.005f;
// Pale yellow-green: stands out on the red boss, the warm ground and the night sky alike.
const glm::vec4 kTickColour(0.9f, 1.0f, 0.5f, 0.85f);
// The boss within the heavy shot's reach: the shot's own plasma blue, ticks half as long
// again and twice as thick.
const glm::vec4 kReachColour(0.4f, 0.9f, 1.0f, 1.0f);
constexpr float kReachLength = 1.5f;
constexpr float kReachWidth = 2.0f;

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
    buildTicks(ticks, 1.0f, 1.0f, kTickColour);
    buildTicks(reachTicks, kReachLength, kReachWidth, kReachColour);
}

void AimReticle::buildTicks(Ticks& set, float lengthScale, float widthScale, const glm::vec4& colour) {
    const float heightToWidth = windowHeight / windowWidth;  // a height fraction as a width fraction
    const float length = kTickLength * lengthScale;
    const float thickness = kTickWidth * widthScale;
    for (std::size_t i = 0; i < set.size(); ++i) {
        const bool across = kTickDirections[i].y == 0.0f;
        const float w = (across ? length : thickness) * heightToWidth;
        const float h = across ? thickness : length;
        set[i] = std::make_unique<HUD>(makeHudQuad(0.0f, 0.0f, w, h, colour), shader, windowWidth,
                                       windowHeight);
    }
    placeTicks(set);
}

void AimReticle::aimAt(const glm::vec3& target, const glm::mat4& viewProjection) {
    const std::optional<glm::vec2> fraction = windowFraction(target, viewProjection);
    shown = fraction && insideWindow(*fraction);
    if (!shown) return;
    aim = *fraction;
    placeTicks(ticks);
    placeTicks(reachTicks);
}

// Each tick's inner end keeps its gap from the aim point, whatever its length.
void AimReticle::placeTicks(Ticks& set) {
    const float heightToWidth = windowHeight / windowWidth;
    for (std::size_t i = 0; i < set.size(); ++i) {
        HUD& tick = *set[i];
        const float length = kTickDirections[i].y == 0.0f ? tick.w / heightToWidth : tick.h;
        const float reach = kGap + 0.5f * length;  // aim point to the tick's middle
        const glm::vec2 middle =
            aim + reach * kTickDirections[i] * glm::vec2(heightToWidth, 1.0f);
        tick.x = middle.x - 0.5f * tick.w;
        tick.y = middle.y - 0.5f * tick.h;
        tick.setFill(1.0f, 1.0f);  // rebuilds its placement
    }
}

void AimReticle::draw() const {
    if (!shown) return;
    for (const std::unique_ptr<HUD>& tick : heavyReach ? reachTicks : ticks) tick->draw();
}
