#include "tools/content/MeshBuilder.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTwoPi = glm::two_pi<float>();

glm::vec3 safeNormalize(const glm::vec3& v, const glm::vec3& fallback) {
    const float length = glm::length(v);
    return length > 1e-8f ? v / length : fallback;
}

// Normal of the profile curve at point j, as (radial, y), pointing to the outside.
glm::vec2 profileNormal(const std::vector<glm::vec2>& profile, size_t j) {
    const glm::vec2 before = profile[j == 0 ? 0 : j - 1];
    const glm::vec2 after = profile[std::min(j + 1, profile.size() - 1)];
    const glm::vec2 tangent = after - before;
    const glm::vec2 normal(tangent.y, -tangent.x);
    const float length = glm::length(normal);
    return length > 1e-8f ? normal / length : glm::vec2(0.0f, 1.0f);
}

std::vector<float> arcLengths(const std::vector<glm::vec2>& profile) {
    std::vector<float> along(profile.size(), 0.0f);
    for (size_t j = 1; j < profile.size(); ++j) along[j] = along[j - 1] + glm::length(profile[j] - profile[j - 1]);
    const float total = along.back() > 0.0f ? along.back() : 1.0f;
    for (float& a : along) a /= total;
    return along;
}

glm::vec3 revolve(const glm::vec2& profilePoint, float angle) {
    return glm::vec3(profilePoint.x * std::sin(angle), profilePoint.y, profilePoint.x * std::cos(angle));
}

glm::vec3 revolveNormal(const glm::vec2& normal, float angle) {
    return glm::vec3(normal.x * std::sin(angle), normal.y, normal.x * std::cos(angle));
}

}  // namespace

void MeshBuilder::setTransform(const glm::mat4& transform) {
    placement = transform;
    normalPlacement = glm::transpose(glm::inverse(glm::mat3(transform)));
}

void MeshBuilder::setBone(int boneIndex) { bone = boneIndex; }

void MeshBuilder::setUvRect(const UvRect& rect) { uvRect = rect; }

unsigned MeshBuilder::addVertex(const glm::vec3& localPosition, const glm::vec3& localNormal, const glm::vec2& uv) {
    MeshVertex v;
    v.position = glm::vec3(placement * glm::vec4(localPosition, 1.0f));
    v.normal = safeNormalize(normalPlacement * localNormal, glm::vec3(0.0f, 1.0f, 0.0f));
    v.uv = uvRect.map(uv);
    if (bone >= 0) v.influences.push_back({bone, 1.0f});
    vertices.push_back(v);
    return static_cast<unsigned>(vertices.size() - 1);
}

void MeshBuilder::appendTriangle(unsigned a, unsigned b, unsigned c) {
    // Mirrored placements reverse the winding; the normals still point out, so follow them.
    const glm::vec3 face = glm::cross(vertices[b].position - vertices[a].position,
                                      vertices[c].position - vertices[a].position);
    const glm::vec3 normals = vertices[a].normal + vertices[b].normal + vertices[c].normal;
    if (glm::dot(face, normals) < 0.0f) std::swap(b, c);
    indices.insert(indices.end(), {a, b, c});
}

void MeshBuilder::addFlatTriangle(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec2& ua,
                                  const glm::vec2& ub, const glm::vec2& uc, const glm::vec3& outward) {
    glm::vec3 normal = glm::cross(b - a, c - a);
    if (glm::length(normal) < 1e-10f) return;
    normal = glm::normalize(normal);
    if (glm::dot(normal, outward) < 0.0f) normal = -normal;
    const unsigned ia = addVertex(a, normal, ua);
    const unsigned ib = addVertex(b, normal, ub);
    const unsigned ic = addVertex(c, normal, uc);
    appendTriangle(ia, ib, ic);
}

void MeshBuilder::addFlatQuad(const glm::vec3 corners[4], const glm::vec2 uvs[4], const glm::vec3& outward) {
    addFlatTriangle(corners[0], corners[1], corners[2], uvs[0], uvs[1], uvs[2], outward);
    addFlatTriangle(corners[0], corners[2], corners[3], uvs[0], uvs[2], uvs[3], outward);
}

void MeshBuilder::addLathe(const std::vector<glm::vec2>& profile, int segments, bool flat) {
    if (profile.size() < 2 || segments < 3) return;
    const std::vector<float> along = arcLengths(profile);
    const auto angleOf = [segments](int i) { return kTwoPi * static_cast<float>(i) / static_cast<float>(segments); };
    const auto uOf = [segments](int i) { return static_cast<float>(i) / static_cast<float>(segments); };

    if (flat) {
        for (size_t j = 0; j + 1 < profile.size(); ++j) {
            const glm::vec2 mid = (profile[j] + profile[j + 1]) * 0.5f;
            const glm::vec2 n = profileNormal({profile[j], profile[j + 1]}, 0);
            for (int i = 0; i < segments; ++i) {
                const glm::vec3 corners[4] = {revolve(profile[j], angleOf(i)), revolve(profile[j], angleOf(i + 1)),
                                              revolve(profile[j + 1], angleOf(i + 1)),
                                              revolve(profile[j + 1], angleOf(i))};
                const glm::vec2 uvs[4] = {{uOf(i), along[j]}, {uOf(i + 1), along[j]}, {uOf(i + 1), along[j + 1]},
                                          {uOf(i), along[j + 1]}};
                const float middle = (angleOf(i) + angleOf(i + 1)) * 0.5f;
                const glm::vec3 outward = revolveNormal(n, middle) + 0.001f * revolve(glm::vec2(mid.x, 0.0f), middle);
                addFlatQuad(corners, uvs, outward);
            }
        }
        return;
    }

    const unsigned first = static_cast<unsigned>(vertices.size());
    const unsigned columns = static_cast<unsigned>(segments + 1);
    for (size_t j = 0; j < profile.size(); ++j) {
        const glm::vec2 n = profileNormal(profile, j);
        for (int i = 0; i <= segments; ++i)
            addVertex(revolve(profile[j], angleOf(i)), revolveNormal(n, angleOf(i)), {uOf(i), along[j]});
    }
    for (unsigned j = 0; j + 1 < profile.size(); ++j)
        for (unsigned i = 0; i < static_cast<unsigned>(segments); ++i) {
            const unsigned a = first + j * columns + i;
            const unsigned b = a + 1;
            const unsigned c = b + columns;
            const unsigned d = a + columns;
            if (profile[j].x > 1e-6f) appendTriangle(a, b, c);
            if (profile[j + 1].x > 1e-6f) appendTriangle(a, c, d);
        }
}

void MeshBuilder::addSphere(float radius, int segments, int rings) {
    std::vector<glm::vec2> profile;
    for (int k = 0; k <= rings; ++k) {
        const float phi = glm::pi<float>() * static_cast<float>(k) / static_cast<float>(rings);
        profile.emplace_back(radius * std::sin(phi), -radius * std::cos(phi));
    }
    profile.front().x = 0.0f;
    profile.back().x = 0.0f;
    addLathe(profile, segments, false);
}

void MeshBuilder::addBox(const glm::vec3& h) {
    const glm::vec2 uvs[4] = {{0.0f, 0.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}, {0.0f, 1.0f}};
    for (int axis = 0; axis < 3; ++axis)
        for (int side = -1; side <= 1; side += 2) {
            glm::vec3 normal(0.0f);
            normal[axis] = static_cast<float>(side);
            const int u = (axis + 1) % 3;
            const int v = (axis + 2) % 3;
            glm::vec3 corners[4];
            const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (int k = 0; k < 4; ++k) {
                corners[k][axis] = h[axis] * static_cast<float>(side);
                corners[k][u] = h[u] * signs[k][0];
                corners[k][v] = h[v] * signs[k][1];
            }
            addFlatQuad(corners, uvs, normal);
        }
}

void MeshBuilder::addSlab(const std::vector<glm::vec2>& outline, float thickness) {
    if (outline.size() < 3) return;
    const float half = thickness * 0.5f;
    glm::vec2 low = outline[0];
    glm::vec2 high = outline[0];
    glm::vec2 centre(0.0f);
    for (const glm::vec2& p : outline) {
        low = glm::min(low, p);
        high = glm::max(high, p);
        centre += p / static_cast<float>(outline.size());
    }
    const glm::vec2 extent = glm::max(high - low, glm::vec2(1e-6f));
    const auto topUv = [&](const glm::vec2& p) { return (p - low) / extent; };
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    for (size_t k = 1; k + 1 < outline.size(); ++k) {
        const glm::vec2 a = outline[0], b = outline[k], c = outline[k + 1];
        addFlatTriangle({a.x, half, a.y}, {b.x, half, b.y}, {c.x, half, c.y}, topUv(a), topUv(b), topUv(c), up);
        addFlatTriangle({a.x, -half, a.y}, {b.x, -half, b.y}, {c.x, -half, c.y}, topUv(a), topUv(b), topUv(c), -up);
    }
    float perimeter = 0.0f;
    for (size_t k = 0; k < outline.size(); ++k) {
        const glm::vec2 a = outline[k];
        const glm::vec2 b = outline[(k + 1) % outline.size()];
        const float next = perimeter + glm::length(b - a) / (extent.x + extent.y);
        const glm::vec3 corners[4] = {{a.x, -half, a.y}, {b.x, -half, b.y}, {b.x, half, b.y}, {a.x, half, a.y}};
        const glm::vec2 uvs[4] = {{perimeter, 0.0f}, {next, 0.0f}, {next, 0.1f}, {perimeter, 0.1f}};
        const glm::vec2 mid = (a + b) * 0.5f - centre;
        addFlatQuad(corners, uvs, glm::vec3(mid.x, 0.0f, mid.y));
        perimeter = next;
    }
}

void MeshBuilder::addTorus(float majorRadius, float minorRadius, int segments, int sides) {
    const unsigned first = static_cast<unsigned>(vertices.size());
    const unsigned columns = static_cast<unsigned>(sides + 1);
    for (int i = 0; i <= segments; ++i) {
        const float around = kTwoPi * static_cast<float>(i) / static_cast<float>(segments);
        const glm::vec3 radial(std::sin(around), 0.0f, std::cos(around));
        for (int j = 0; j <= sides; ++j) {
            const float tube = kTwoPi * static_cast<float>(j) / static_cast<float>(sides);
            const glm::vec3 normal = radial * std::cos(tube) + glm::vec3(0.0f, std::sin(tube), 0.0f);
            addVertex(radial * majorRadius + normal * minorRadius, normal,
                      {static_cast<float>(i) / static_cast<float>(segments), static_cast<float>(j) / static_cast<float>(sides)});
        }
    }
    for (unsigned i = 0; i < static_cast<unsigned>(segments); ++i)
        for (unsigned j = 0; j < static_cast<unsigned>(sides); ++j) {
            const unsigned a = first + i * columns + j;
            const unsigned b = a + columns;
            const unsigned c = b + 1;
            const unsigned d = a + 1;
            appendTriangle(a, b, c);
            appendTriangle(a, c, d);
        }
}

void MeshBuilder::addRibbon(const std::vector<glm::vec3>& spine, const glm::vec3& across, float width) {
    if (spine.size() < 2) return;
    const glm::vec3 side = glm::normalize(across) * (width * 0.5f);
    for (int face = 0; face < 2; ++face) {
        const unsigned first = static_cast<unsigned>(vertices.size());
        for (size_t k = 0; k < spine.size(); ++k) {
            const glm::vec3 tangent = spine[std::min(k + 1, spine.size() - 1)] - spine[k == 0 ? 0 : k - 1];
            glm::vec3 normal = safeNormalize(glm::cross(tangent, side), glm::vec3(0.0f, 1.0f, 0.0f));
            if (face == 1) normal = -normal;
            const float u = static_cast<float>(k) / static_cast<float>(spine.size() - 1);
            addVertex(spine[k] - side, normal, {u, 0.0f});
            addVertex(spine[k] + side, normal, {u, 1.0f});
        }
        for (unsigned k = 0; k + 1 < spine.size(); ++k) {
            const unsigned a = first + 2 * k;
            appendTriangle(a, a + 2, a + 3);
            appendTriangle(a, a + 3, a + 1);
        }
    }
}

void MeshBuilder::reweigh(size_t firstVertex,
                          const std::function<std::vector<Influence>(const glm::vec3&)>& weigh) {
    for (size_t i = firstVertex; i < vertices.size(); ++i) vertices[i].influences = weigh(vertices[i].position);
}
