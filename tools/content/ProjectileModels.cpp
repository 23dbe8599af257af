#include "tools/content/ProjectileModels.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

constexpr float kMissileLength = 2.2f;  // the capsule: height 1.5 plus two 0.35 caps
constexpr float kShieldRadius = 4.5f;

// The missile texture is laid out in bands: body wraps the lower three quarters, the
// fins use the top quarter.
const UvRect kMissileBody{{0.0f, 0.0f}, {1.0f, 0.75f}};
const UvRect kMissileFins{{0.0f, 0.75f}, {1.0f, 0.25f}};
const UvRect kMissileHalo{{0.0f, 0.6f}, {1.0f, 0.1f}};  // the warhead's red part of the body
// The halo round the warhead: wider than the body and the fins, so that it outlines the
// missile from afar, yet only a look; the game's capsule (radius 0.35) is what hits.
constexpr float kHaloRadius = 0.75f;
constexpr float kHaloThickness = 0.08f;
constexpr float kHaloHeight = 0.35f;

}  // namespace

GeneratedModel buildPlasmaShot(const std::string& name, float radius) {
    GeneratedModel shot;
    shot.name = name;
    shot.diffuse = glm::vec3(0.4f, 0.9f, 1.0f);
    shot.mesh.setUvRect({{0.0f, 0.0f}, {2.0f, 1.0f}});
    shot.mesh.addSphere(radius, 20, 12);
    return shot;
}

GeneratedModel buildBossShot() {
    GeneratedModel shot;
    shot.name = "bossShot";
    shot.diffuse = glm::vec3(1.0f, 0.3f, 0.6f);
    shot.mesh.setUvRect({{0.0f, 0.0f}, {2.0f, 1.0f}});
    shot.mesh.addSphere(0.62f, 18, 10);
    const glm::vec3 axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    shot.mesh.setUvRect({{0.0f, 0.0f}, {1.0f, 0.5f}});
    for (const glm::vec3& axis : axes) {
        const glm::vec3 helper = std::abs(axis.y) > 0.5f ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
        const glm::vec3 side = glm::normalize(glm::cross(helper, axis));
        const glm::mat4 frame(glm::vec4(side, 0), glm::vec4(axis, 0), glm::vec4(glm::cross(side, axis), 0),
                              glm::vec4(0, 0, 0, 1));
        shot.mesh.setTransform(frame);
        shot.mesh.addLathe({{0.0f, 0.45f}, {0.2f, 0.5f}, {0.0f, 0.8f}}, 6, true);
    }
    return shot;
}

GeneratedModel buildMissile() {
    GeneratedModel missile;
    missile.name = "missile";
    missile.diffuse = glm::vec3(0.7f);
    const float tail = -kMissileLength * 0.5f;
    missile.mesh.setUvRect(kMissileBody);
    missile.mesh.addLathe({{0.0f, tail + 0.05f}, {0.19f, tail + 0.05f}, {0.27f, tail + 0.18f}, {0.3f, tail + 0.3f},
                           {0.3f, 0.45f}, {0.26f, 0.7f}, {0.16f, 0.92f}, {0.0f, kMissileLength * 0.5f}},
                          16, false);
    missile.mesh.setUvRect(kMissileFins);
    for (int fin = 0; fin < 4; ++fin) {
        // The slab's outline axes become (outward, along the missile); its thickness runs round.
        const float angle = glm::radians(45.0f + 90.0f * static_cast<float>(fin));
        const glm::vec3 outward(std::cos(angle), 0.0f, std::sin(angle));
        const glm::vec3 round = glm::cross(glm::vec3(0.0f, 1.0f, 0.0f), outward);
        missile.mesh.setTransform(glm::mat4(glm::vec4(outward, 0.0f), glm::vec4(round, 0.0f),
                                            glm::vec4(0.0f, 1.0f, 0.0f, 0.0f), glm::vec4(0.0f, 0.0f, 0.0f, 1.0f)));
        missile.mesh.addSlab({{0.25f, tail + 0.6f}, {0.28f, tail + 0.08f}, {0.62f, tail + 0.02f}, {0.62f, tail + 0.22f}},
                             0.04f);
    }
    // The halo: a thin ring round the warhead. A missile homes in nose first, so the player
    // mostly sees it end-on, and there a ring is what reads at a glance.
    missile.mesh.setUvRect(kMissileHalo);
    missile.mesh.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, kHaloHeight, 0.0f)));
    missile.mesh.addTorus(kHaloRadius, kHaloThickness, 32, 8);
    return missile;
}

GeneratedModel buildShield() {
    GeneratedModel shield;
    shield.name = "shield";
    shield.diffuse = glm::vec3(0.3f, 0.8f, 1.0f);
    shield.mesh.setUvRect({{100.0f, 0.0f}, {4.0f, 2.0f}});  // u from 100: the shader's cut-out zone
    shield.mesh.addSphere(kShieldRadius, 48, 28);
    return shield;
}
