#include "tools/content/CraftModel.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

constexpr float kLoopSeconds = 2.0f;  // file time; the game plays it at 0.8x speed
constexpr float kTwoPi = glm::two_pi<float>();
constexpr float kWingTipX = 1.28f;
constexpr float kWingTipY = 0.04f;
constexpr float kTrailingEdgeZ = 0.85f;
constexpr float kStreamerLength = 0.5f;

glm::mat4 translation(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)); }
glm::mat4 turn(float degrees, const glm::vec3& axis) {
    return glm::rotate(glm::mat4(1.0f), glm::radians(degrees), axis);
}
// Lathes turn about y; the fuselage runs along z with its nose at -z.
const glm::mat4 kAlongMinusZ = turn(-90.0f, glm::vec3(1.0f, 0.0f, 0.0f));

void addFuselage(MeshBuilder& mesh) {
    mesh.setUvRect(hullZone(4.0f, 6.0f));
    mesh.setTransform(glm::scale(glm::mat4(1.0f), glm::vec3(1.25f, 0.8f, 1.0f)) * kAlongMinusZ);
    mesh.addLathe({{0.0f, -1.02f}, {0.2f, -1.02f}, {0.27f, -0.9f}, {0.31f, -0.45f}, {0.3f, 0.05f},
                   {0.24f, 0.5f}, {0.15f, 0.85f}, {0.06f, 1.1f}, {0.0f, 1.2f}},
                  8, true);
    mesh.setUvRect(glowZone());
    mesh.addLathe({{0.0f, -1.1f}, {0.16f, -1.08f}, {0.2f, -1.02f}}, 12, false);
    mesh.setUvRect(glassZone());
    mesh.setTransform(glm::scale(glm::mat4(1.0f), glm::vec3(1.25f, 0.8f, 1.0f)) * translation(0.0f, 0.0f, 1.03f) *
                      kAlongMinusZ);
    mesh.addTorus(0.21f, 0.035f, 16, 6);
}

void addCanopy(MeshBuilder& mesh) {
    mesh.setUvRect(glassZone());
    mesh.setTransform(translation(0.0f, 0.16f, -0.32f) * glm::scale(glm::mat4(1.0f), glm::vec3(0.15f, 0.12f, 0.42f)));
    mesh.addSphere(1.0f, 16, 10);
}

void addWing(MeshBuilder& mesh, float side) {
    const glm::mat4 mirror = glm::scale(glm::mat4(1.0f), glm::vec3(side, 1.0f, 1.0f));
    mesh.setUvRect(hullZone(3.0f, 2.0f));
    mesh.setTransform(mirror * translation(0.0f, -0.05f, 0.0f) * turn(4.0f, glm::vec3(0.0f, 0.0f, 1.0f)));
    mesh.addSlab({{0.22f, -0.25f}, {1.25f, 0.55f}, {1.3f, kTrailingEdgeZ}, {0.22f, kTrailingEdgeZ}}, 0.05f);
    mesh.setUvRect(glowZone());
    mesh.setTransform(mirror * translation(kWingTipX, kWingTipY, 0.66f));
    mesh.addBox({0.03f, 0.03f, 0.17f});
}

void addTailFin(MeshBuilder& mesh, float side) {
    const glm::mat4 mirror = glm::scale(glm::mat4(1.0f), glm::vec3(side, 1.0f, 1.0f));
    mesh.setUvRect(hullZone(2.0f, 2.0f));
    // The slab's thickness runs along its local y; standing it up puts the outline in the yz plane.
    mesh.setTransform(mirror * translation(0.17f, 0.08f, 0.0f) * turn(-15.0f, glm::vec3(0.0f, 0.0f, 1.0f)) *
                      turn(90.0f, glm::vec3(0.0f, 0.0f, 1.0f)));
    mesh.addSlab({{0.0f, 0.3f}, {0.5f, 0.78f}, {0.53f, 0.98f}, {0.0f, 0.98f}}, 0.04f);
}

std::vector<glm::vec3> streamerSpine(float side) {
    std::vector<glm::vec3> spine;
    for (int k = 0; k <= 8; ++k)
        spine.emplace_back(side * kWingTipX, kWingTipY, kTrailingEdgeZ + kStreamerLength * static_cast<float>(k) / 8.0f);
    return spine;
}

// A wave that runs down the streamer: each bone lags the one before it.
std::function<glm::mat4(float)> flutter(float degrees, float lag) {
    return [degrees, lag](float phase) {
        return turn(degrees * std::sin(kTwoPi * phase - lag), glm::vec3(1.0f, 0.0f, 0.0f));
    };
}

std::function<glm::mat4(float)> flex(float degrees) {
    return [degrees](float phase) { return turn(degrees * std::sin(kTwoPi * phase), glm::vec3(0.0f, 0.0f, 1.0f)); };
}

void addStreamer(GeneratedModel& craft, float side, int wingBone, const std::string& sideName) {
    Skeleton& skeleton = *craft.skeleton;
    const float rootZ = kTrailingEdgeZ;
    const float middleZ = kTrailingEdgeZ + kStreamerLength * 0.5f;
    const int first = skeleton.addBoneAt("streamer" + sideName + "1", wingBone,
                                         translation(side * kWingTipX, kWingTipY, rootZ), flutter(12.0f, 0.8f));
    const int second = skeleton.addBoneAt("streamer" + sideName + "2", first,
                                          translation(side * kWingTipX, kWingTipY, middleZ), flutter(20.0f, 1.9f));
    const size_t firstVertex = craft.mesh.vertexCount();
    craft.mesh.setUvRect(glowZone());
    craft.mesh.setTransform(glm::mat4(1.0f));
    craft.mesh.addRibbon(streamerSpine(side), glm::vec3(1.0f, 0.0f, 0.0f), 0.07f);
    craft.mesh.reweigh(firstVertex, [=](const glm::vec3& p) -> std::vector<Influence> {
        const float t = (p.z - rootZ) / kStreamerLength;
        const float outer = glm::smoothstep(0.3f, 0.7f, t);
        if (outer <= 0.0f) return {{first, 1.0f}};
        if (outer >= 1.0f) return {{second, 1.0f}};
        return {{first, 1.0f - outer}, {second, outer}};
    });
}

}  // namespace

GeneratedModel buildCraft() {
    GeneratedModel craft;
    craft.name = "craft";
    craft.diffuse = glm::vec3(0.0f, 0.8f, 0.7f);
    craft.skeleton = std::make_unique<Skeleton>(kLoopSeconds);
    Skeleton& skeleton = *craft.skeleton;

    const int body = skeleton.addBone("body", -1, glm::mat4(1.0f));
    craft.mesh.setBone(body);
    addFuselage(craft.mesh);
    addCanopy(craft.mesh);
    addTailFin(craft.mesh, 1.0f);
    addTailFin(craft.mesh, -1.0f);

    const int wingRight = skeleton.addBoneAt("wingRight", body, translation(0.22f, -0.05f, 0.3f), flex(-5.0f));
    craft.mesh.setBone(wingRight);
    addWing(craft.mesh, 1.0f);
    const int wingLeft = skeleton.addBoneAt("wingLeft", body, translation(-0.22f, -0.05f, 0.3f), flex(5.0f));
    craft.mesh.setBone(wingLeft);
    addWing(craft.mesh, -1.0f);

    addStreamer(craft, 1.0f, wingRight, "Right");
    addStreamer(craft, -1.0f, wingLeft, "Left");
    return craft;
}
