#include "tools/content/SkyPicture.h"

#include "tools/content/Noise.h"
#include "tools/content/Random.h"

#include <algorithm>
#include <cmath>

namespace {

struct Stop {
    float at;
    glm::vec3 colour;
};

// From the horizon (0) to the zenith (1).
const Stop kSkyStops[] = {{0.0f, kHorizonHaze},
                          {0.12f, {0.72f, 0.38f, 0.46f}},
                          {0.35f, {0.40f, 0.19f, 0.43f}},
                          {0.68f, {0.13f, 0.08f, 0.27f}},
                          {1.0f, {0.04f, 0.03f, 0.12f}}};

glm::vec3 skyGradient(float t) {
    for (size_t i = 1; i < std::size(kSkyStops); ++i)
        if (t <= kSkyStops[i].at) {
            const float f = (t - kSkyStops[i - 1].at) / (kSkyStops[i].at - kSkyStops[i - 1].at);
            return glm::mix(kSkyStops[i - 1].colour, kSkyStops[i].colour, glm::smoothstep(0.0f, 1.0f, f));
        }
    return kSkyStops[std::size(kSkyStops) - 1].colour;
}

struct Body {
    glm::vec2 centre;  // pixels
    float radius;      // pixels
};

const glm::vec3 kLightOnBodies = glm::normalize(glm::vec3(-0.6f, 0.45f, 0.65f));  // x right, y up, z to viewer

float heightAboveHorizon(float y, float height) {
    const float horizon = kHorizonHeight * height;
    return std::clamp((horizon - y) / horizon, 0.0f, 1.0f);
}

void paintBackdrop(Image& sky, const Noise& noise) {
    const float w = static_cast<float>(sky.width());
    const float h = static_cast<float>(sky.height());
    sky.paint([&](float u, float v) {
        const float t = heightAboveHorizon(v * h, h);
        glm::vec3 c = skyGradient(t);
        const glm::vec3 p(u * w / h * 2.2f, v * 2.2f, 0.5f);
        const float cloud = glm::smoothstep(0.0f, 0.9f, noise.spatial(p, 6) + 0.25f);
        const float wisps = glm::smoothstep(0.2f, 1.0f, noise.spatial(p * 2.0f + glm::vec3(3.0f), 5));
        const float band = glm::smoothstep(0.25f, 0.5f, t) * (1.0f - glm::smoothstep(0.85f, 1.0f, t));
        c += band * (cloud * glm::vec3(0.16f, 0.05f, 0.18f) + wisps * glm::vec3(0.02f, 0.14f, 0.16f));
        return glm::vec4(c, 1.0f);
    });
}

void paintStars(Image& sky) {
    Random random(7);
    const float h = static_cast<float>(sky.height());
    for (int i = 0; i < 900; ++i) {
        const int x = random.below(sky.width());
        const int y = random.below(sky.height());
        const float t = heightAboveHorizon(static_cast<float>(y), h);
        const float brightness = random.uniform();
        const float visible = glm::smoothstep(0.3f, 0.75f, t) * (0.25f + 0.75f * brightness * brightness);
        const glm::vec3 tint = glm::mix(glm::vec3(0.75f, 0.8f, 1.0f), glm::vec3(1.0f, 0.85f, 0.75f), random.uniform());
        sky.addLight(x, y, tint, visible);
        if (brightness > 0.93f)
            for (int d = 1; d <= 2; ++d) {
                const float glow = visible * 0.35f / static_cast<float>(d);
                sky.addLight(x + d, y, tint, glow);
                sky.addLight(x - d, y, tint, glow);
                sky.addLight(x, y + d, tint, glow);
                sky.addLight(x, y - d, tint, glow);
            }
    }
}

// Surface normal of a body at a pixel, with x right, y up and z toward the viewer.
bool sphereNormal(const Body& body, float x, float y, glm::vec3& normal, float& edge) {
    const glm::vec2 d = (glm::vec2(x, y) - body.centre) / body.radius;
    const float r2 = glm::dot(d, d);
    edge = 1.0f - std::sqrt(std::min(r2, 1.0f));
    if (r2 >= 1.0f) return false;
    normal = glm::vec3(d.x, -d.y, std::sqrt(1.0f - r2));
    return true;
}

glm::vec3 giantSurface(const glm::vec3& n, const Noise& noise) {
    const float latitude = n.y + 0.08f * noise.spatial(n * 4.0f, 4);
    const float bands = 0.5f + 0.5f * std::sin(latitude * 19.0f + 2.0f * noise.spatial(n * 2.0f, 3));
    const glm::vec3 deep(0.20f, 0.42f, 0.50f);
    const glm::vec3 pale(0.62f, 0.86f, 0.80f);
    const glm::vec3 storm(0.85f, 0.72f, 0.55f);
    glm::vec3 c = glm::mix(deep, pale, bands);
    const float spot = glm::length(glm::vec2(n.x - 0.25f, (n.y + 0.3f) * 2.2f));
    c = glm::mix(storm, c, glm::smoothstep(0.12f, 0.2f, spot));
    return c;
}

void paintGiant(Image& sky, const Body& giant, const Noise& noise) {
    const float tilt = glm::radians(-17.0f);
    const float flatten = 0.23f;
    const float innerRing = 1.35f;
    const float outerRing = 2.15f;
    const auto ringAt = [&](float x, float y, bool& inFront) {
        const glm::vec2 d = (glm::vec2(x, y) - giant.centre) / giant.radius;
        const glm::vec2 r(d.x * std::cos(tilt) - d.y * std::sin(tilt), d.x * std::sin(tilt) + d.y * std::cos(tilt));
        inFront = r.y > 0.0f;
        const float rho = std::sqrt(r.x * r.x + (r.y / flatten) * (r.y / flatten));
        if (rho < innerRing || rho > outerRing) return 0.0f;
        const float s = (rho - innerRing) / (outerRing - innerRing);
        const float detail = 0.55f + 0.45f * std::sin(s * 70.0f) * std::sin(s * 23.0f + 1.0f);
        return detail * glm::smoothstep(0.0f, 0.06f, s) * (1.0f - glm::smoothstep(0.9f, 1.0f, s)) *
               (0.6f + 0.4f * (1.0f - glm::smoothstep(0.4f, 0.55f, s) * glm::smoothstep(0.62f, 0.5f, s)));
    };
    const glm::vec3 ringColour(0.93f, 0.83f, 0.72f);
    const int reach = static_cast<int>(giant.radius * outerRing) + 2;
    for (int y = static_cast<int>(giant.centre.y) - reach; y <= static_cast<int>(giant.centre.y) + reach; ++y)
        for (int x = static_cast<int>(giant.centre.x) - reach; x <= static_cast<int>(giant.centre.x) + reach; ++x) {
            if (x < 0 || y < 0 || x >= sky.width() || y >= sky.height()) continue;
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            bool ringInFront = false;
            const float ring = ringAt(px, py, ringInFront);
            glm::vec3 n;
            float edge = 0.0f;
            const bool onGiant = sphereNormal(giant, px, py, n, edge);
            if (ring > 0.0f && !ringInFront) sky.blend(x, y, ringColour * 0.8f, ring * 0.55f);
            if (onGiant) {
                const float lit = glm::smoothstep(-0.15f, 0.5f, glm::dot(n, kLightOnBodies));
                const glm::vec3 surface = giantSurface(n, noise) * (0.06f + 0.94f * lit);
                const glm::vec3 withAir = glm::mix(surface, glm::vec3(0.55f, 0.45f, 0.75f), 0.18f + 0.4f * (1.0f - n.z) * lit);
                sky.blend(x, y, withAir, glm::smoothstep(0.0f, 0.012f, edge));
            }
            if (ring > 0.0f && ringInFront) sky.blend(x, y, ringColour, ring * 0.7f);
            const glm::vec2 d = (glm::vec2(px, py) - giant.centre) / giant.radius;
            const float halo = glm::length(d);
            if (halo > 1.0f && halo < 1.12f) sky.addLight(x, y, glm::vec3(0.35f, 0.5f, 0.6f), 0.25f * (1.12f - halo) / 0.12f);
        }
}

void paintMoon(Image& sky, const Body& moon, const glm::vec3& tint, const Noise& noise) {
    const int reach = static_cast<int>(moon.radius) + 2;
    for (int y = static_cast<int>(moon.centre.y) - reach; y <= static_cast<int>(moon.centre.y) + reach; ++y)
        for (int x = static_cast<int>(moon.centre.x) - reach; x <= static_cast<int>(moon.centre.x) + reach; ++x) {
            glm::vec3 n;
            float edge = 0.0f;
            if (!sphereNormal(moon, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, n, edge)) continue;
            const float lit = glm::smoothstep(-0.05f, 0.35f, glm::dot(n, kLightOnBodies));
            const float craters = 0.85f + 0.25f * noise.spatial(n * 6.0f + glm::vec3(9.0f), 4);
            sky.blend(x, y, tint * craters * (0.08f + 0.92f * lit), glm::smoothstep(0.0f, 0.05f, edge));
        }
}

void paintRidges(Image& sky, const Noise& noise) {
    const float h = static_cast<float>(sky.height());
    const float horizon = kHorizonHeight * h;
    for (int x = 0; x < sky.width(); ++x) {
        const float u = static_cast<float>(x) / static_cast<float>(sky.width());
        const float far = horizon - h * (0.014f + 0.03f * std::max(0.0f, 0.5f + 0.6f * noise.spatial({u * 5.0f, 0.3f, 0.0f}, 5)));
        const float near = horizon - h * (0.004f + 0.018f * std::max(0.0f, 0.5f + 0.6f * noise.spatial({u * 8.0f, 1.7f, 0.0f}, 5)));
        for (int y = static_cast<int>(far) - 1; y < static_cast<int>(horizon) + 2; ++y) {
            const float py = static_cast<float>(y) + 0.5f;
            const float farCover = glm::smoothstep(far - 0.8f, far + 0.8f, py);
            const float nearCover = glm::smoothstep(near - 0.8f, near + 0.8f, py);
            const float sink = glm::smoothstep(horizon - h * 0.03f, horizon + 2.0f, py);
            sky.blend(x, y, glm::mix(kHorizonHaze * glm::vec3(0.86f, 0.78f, 0.9f), kHorizonHaze, sink), farCover);
            sky.blend(x, y, glm::mix(kHorizonHaze * glm::vec3(0.74f, 0.64f, 0.8f), kHorizonHaze, sink), nearCover);
        }
    }
}

}  // namespace

Image paintSky(int width, int height) {
    const Noise noise(5);
    Image sky(width, height);
    const float h = static_cast<float>(height);
    const float w = static_cast<float>(width);
    paintBackdrop(sky, noise);
    paintStars(sky);
    paintMoon(sky, {{0.19f * w, 0.2f * h}, 0.028f * h}, glm::vec3(0.82f, 0.78f, 0.92f), noise);
    paintMoon(sky, {{0.41f * w, 0.33f * h}, 0.012f * h}, glm::vec3(0.95f, 0.8f, 0.7f), noise);
    paintGiant(sky, {{0.72f * w, 0.25f * h}, 0.15f * h}, noise);
    paintRidges(sky, noise);
    return sky;
}
