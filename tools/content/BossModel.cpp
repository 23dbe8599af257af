#include "tools/content/BossModel.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

constexpr float kLoopSeconds = 2.4f;  // file time; the game plays it at 0.8x speed
constexpr float kTwoPi = glm::two_pi<float>();
constexpr float kDepthSquash = 0.75f;  // the carapace is shallower than it is wide
constexpr float kRingRadius = 2.85f;
constexpr float kRingZ = -1.3f;
const glm::vec3 kX(1.0f, 0.0f, 0.0f);
const glm::vec3 kY(0.0f, 1.0f, 0.0f);
const glm::vec3 kZ(0.0f, 0.0f, 1.0f);

glm::mat4 translation(const glm::vec3& v) { return glm::translate(glm::mat4(1.0f), v); }
glm::mat4 turn(float degrees, const glm::vec3& axis) {
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), axis);
}
glm::mat4 scaling(const glm::vec3& v) { return glm::scale(glm::mat4(1.0f), v); }

// A frame whose local y runs from `from` to `to`, for lathes laid along a segment.
glm::mat4 alongSegment(const glm::vec3& from, const glm::vec3& to) {
    const glm::vec3 axis = glm::normalize(to - from);
    const glm::vec3 helper = std::fabs(axis.y) < 0.9f ? kY : kX;
    const glm::vec3 side = glm::normalize(glm::cross(helper, axis));
    const glm::vec3 third = glm::cross(axis, side);
    return glm::mat4(glm::vec4(side, 0.0f), glm::vec4(axis, 0.0f), glm::vec4(third, 0.0f), glm::vec4(from, 1.0f));
}

void addCarapace(MeshBuilder& mesh) {
    mesh.setUvRect(hullZone(8.0f, 4.0f));
    mesh.setTransform(scaling({1.0f, 1.0f, kDepthSquash}));
    mesh.addLathe({{0.0f, 0.35f}, {2.3f, 0.35f}, {2.5f, 0.9f}, {2.2f, 1.7f}, {1.3f, 2.35f}, {0.0f, 2.55f}}, 8, true);
    mesh.setUvRect(glassZone());
    mesh.setTransform(glm::mat4(1.0f));
    mesh.addLathe({{0.0f, -1.0f}, {1.5f, -0.7f}, {1.9f, 0.0f}, {1.5f, 0.7f}, {0.0f, 1.0f}}, 10, true);
}

// A single glowing eye with a slit pupil, under two glowing brows that slant inward.
void addEye(MeshBuilder& mesh) {
    const glm::vec3 centre(0.0f, -0.08f, 1.4f);
    mesh.setUvRect(glowZone());
    mesh.setTransform(translation(centre) * scaling({1.15f, 0.8f, 0.75f}));
    mesh.addSphere(0.85f, 20, 12);
    for (float side : {-1.0f, 1.0f}) {
        mesh.setTransform(translation({side * 0.62f, 0.58f, 1.98f}) * turn(side * -18.0f, kZ) * turn(-20.0f, kX));
        mesh.addBox({0.42f, 0.055f, 0.08f});
    }
    mesh.setUvRect(glassZone());
    mesh.setTransform(translation(centre + glm::vec3(0.0f, 0.0f, 0.6f)));
    mesh.addBox({0.07f, 0.42f, 0.06f});
    mesh.setTransform(translation(centre) * turn(90.0f, kX) * scaling({1.15f, 1.0f, 0.8f}));
    mesh.addTorus(0.9f, 0.1f, 24, 6);
}

void addHorn(MeshBuilder& mesh, const glm::vec3& base, float tiltBack, float tiltOut, float size) {
    mesh.setUvRect(hullZone(2.0f, 3.0f));
    mesh.setTransform(translation(base) * turn(tiltOut, kZ) * turn(-tiltBack, kX) * scaling(glm::vec3(size)));
    mesh.addLathe({{0.0f, -0.2f}, {0.38f, -0.2f}, {0.3f, 0.4f}, {0.16f, 1.0f}, {0.0f, 1.65f}}, 6, true);
}

void addJaw(MeshBuilder& mesh) {
    mesh.setUvRect(hullZone(8.0f, 3.0f));
    mesh.setTransform(scaling({1.0f, 1.0f, kDepthSquash}));
    mesh.addLathe({{0.0f, -2.3f}, {1.2f, -2.1f}, {2.0f, -1.5f}, {2.3f, -0.85f}, {2.1f, -0.55f}, {0.0f, -0.55f}}, 8, true);
}

// Glowing fangs hang from the front rim of the carapace, over the eye.
void addFangs(MeshBuilder& mesh) {
    mesh.setUvRect(glowZone());
    for (int fang = -2; fang <= 2; ++fang) {
        const float x = 0.5f * static_cast<float>(fang);
        const float z = kDepthSquash * std::sqrt(2.3f * 2.3f - x * x) - 0.12f;
        mesh.setTransform(translation({x, 0.4f, z}) * turn(180.0f, kX) * scaling(glm::vec3(fang == 0 ? 0.6f : 0.8f)));
        mesh.addLathe({{0.0f, 0.0f}, {0.14f, 0.0f}, {0.0f, 0.6f}}, 4, true);
    }
}

void addClaw(MeshBuilder& mesh, float side) {
    mesh.setUvRect(hullZone(2.0f, 4.0f));
    const glm::vec3 root(side * 1.0f, -1.9f, 0.5f);
    const glm::vec3 tip(side * 1.25f, -4.0f, 1.3f);
    mesh.setTransform(alongSegment(root, tip));
    const float length = glm::length(tip - root);
    mesh.addLathe({{0.0f, -0.1f}, {0.34f, -0.1f}, {0.3f, length * 0.4f}, {0.16f, length * 0.8f}, {0.0f, length}}, 6,
                  true);
}

void addArm(MeshBuilder& mesh, float side) {
    const glm::vec3 shoulder(side * 2.2f, 0.45f, -0.1f);
    const glm::vec3 elbow(side * 3.05f, 0.95f, 0.7f);
    const glm::vec3 muzzle(side * 3.2f, 1.45f, 2.7f);
    mesh.setUvRect(hullZone(2.0f, 2.0f));
    mesh.setTransform(alongSegment(shoulder, elbow));
    const float upper = glm::length(elbow - shoulder);
    mesh.addLathe({{0.0f, -0.3f}, {0.42f, -0.3f}, {0.36f, upper}, {0.0f, upper + 0.15f}}, 6, true);
    mesh.setTransform(alongSegment(elbow, muzzle));
    const float fore = glm::length(muzzle - elbow);
    mesh.addLathe({{0.0f, -0.35f}, {0.38f, -0.35f}, {0.34f, fore * 0.6f}, {0.24f, fore * 0.65f}, {0.24f, fore},
                   {0.3f, fore}, {0.3f, fore + 0.12f}},
                  8, true);
    mesh.setUvRect(glowZone());
    mesh.addLathe({{0.0f, fore + 0.1f}, {0.2f, fore + 0.13f}}, 10, false);
}

void addRing(MeshBuilder& mesh) {
    mesh.setUvRect(hullZone(12.0f, 1.0f));
    const glm::mat4 facingPlayer = translation({0.0f, 0.2f, kRingZ}) * turn(90.0f, kX);
    mesh.setTransform(facingPlayer);
    mesh.addTorus(kRingRadius, 0.13f, 48, 6);
    mesh.setUvRect(glowZone());
    for (int stud = 0; stud < 6; ++stud) {
        mesh.setTransform(facingPlayer * turn(60.0f * static_cast<float>(stud), kY) *
                          translation({0.0f, 0.0f, kRingRadius}));
        mesh.addBox({0.16f, 0.16f, 0.22f});
    }
}

std::function<glm::mat4(float)> snap() {
    return [](float phase) {
        const float open = 0.5f - 0.5f * std::cos(kTwoPi * phase);
        return turn(14.0f * open * open, kX);
    };
}

std::function<glm::mat4(float)> sway(float degrees, float lag, const glm::vec3& axis) {
    return [=](float phase) { return turn(degrees * std::sin(kTwoPi * phase - lag), axis); };
}

std::function<glm::mat4(float)> spin() {
    return [](float phase) { return turn(-360.0f * phase, kZ); };
}

}  // namespace

GeneratedModel buildBoss() {
    GeneratedModel boss;
    boss.name = "boss";
    boss.diffuse = glm::vec3(1.0f, 0.0f, 0.0f);
    boss.skeleton = std::make_unique<Skeleton>(kLoopSeconds);
    Skeleton& skeleton = *boss.skeleton;
    MeshBuilder& mesh = boss.mesh;

    const int core = skeleton.addBone("core", -1, glm::mat4(1.0f));
    mesh.setBone(core);
    addCarapace(mesh);
    addEye(mesh);
    addFangs(mesh);
    addHorn(mesh, {0.0f, 2.3f, -0.3f}, 15.0f, 0.0f, 1.0f);
    addHorn(mesh, {1.35f, 1.85f, -0.2f}, 10.0f, -32.0f, 0.8f);
    addHorn(mesh, {-1.35f, 1.85f, -0.2f}, 10.0f, 32.0f, 0.8f);

    const int jaw = skeleton.addBoneAt("jaw", core, translation({0.0f, -0.5f, -1.2f}), snap());
    mesh.setBone(jaw);
    addJaw(mesh);
    const int clawRight = skeleton.addBoneAt("clawRight", jaw, translation({1.0f, -1.9f, 0.5f}), sway(9.0f, 0.0f, kX));
    mesh.setBone(clawRight);
    addClaw(mesh, 1.0f);
    const int clawLeft = skeleton.addBoneAt("clawLeft", jaw, translation({-1.0f, -1.9f, 0.5f}), sway(9.0f, 3.1f, kX));
    mesh.setBone(clawLeft);
    addClaw(mesh, -1.0f);

    const int armRight = skeleton.addBoneAt("armRight", core, translation({2.2f, 0.45f, -0.1f}), sway(7.0f, 0.0f, kX));
    mesh.setBone(armRight);
    addArm(mesh, 1.0f);
    const int armLeft = skeleton.addBoneAt("armLeft", core, translation({-2.2f, 0.45f, -0.1f}), sway(7.0f, 3.1f, kX));
    mesh.setBone(armLeft);
    addArm(mesh, -1.0f);

    const int ring = skeleton.addBoneAt("ring", core, translation({0.0f, 0.2f, kRingZ}), spin());
    mesh.setBone(ring);
    addRing(mesh);
    return boss;
}
