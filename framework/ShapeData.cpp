#include "framework/ShapeData.h"

#include <array>
#include <cassert>
#include <cmath>

namespace {

// Single-precision pi, as the generated meshes are defined with it.
constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;

struct CubeFace {
    glm::vec3 normal;
    std::array<glm::vec3, 4> corners;  // in units of the half sizes
    std::array<glm::vec2, 4> uvs;
};

// One row per face; the corner order makes (0, 1, 2) and (2, 3, 0) counter-clockwise
// seen from outside.
const std::array<CubeFace, 6> kCubeFaces = {{
    {{0, 0, 1},
     {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
     {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}},
    {{0, 0, -1},
     {{{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
     {{{1, 1}, {0, 1}, {0, 0}, {1, 0}}}},
    {{1, 0, 0},
     {{{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}},
     {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}},
    {{-1, 0, 0},
     {{{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
     {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}},
    {{0, 1, 0},
     {{{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
     {{{0, 1}, {0, 0}, {1, 0}, {1, 1}}}},
    {{0, -1, 0},
     {{{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
     {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}},
}};

constexpr std::uint32_t kCylinderSegments = 32;
constexpr float kCylinderAngleStep = 0.19634955f;  // 2 pi / 32, radians

constexpr std::uint32_t kSphereSegments = 64;
constexpr std::uint32_t kSphereRings = 32;
constexpr std::uint32_t kSphereFirstRingVertex = 2;  // after the two poles
constexpr std::uint32_t kSphereLastRingVertex =
    kSphereFirstRingVertex + kSphereSegments * (kSphereRings - 2);  // 1922

void addVertex(ShapeData& data, const glm::vec3& position, const glm::vec3& normal,
               const glm::vec2& uv) {
    data.positions.push_back(position);
    data.normals.push_back(normal);
    data.uvs.push_back(uv);
}

void addTriangle(ShapeData& data, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    data.indices.insert(data.indices.end(), {a, b, c});
}

void addCylinderSegment(ShapeData& data, std::uint32_t i, float height, float radius) {
    const float angle = static_cast<float>(i) * kCylinderAngleStep;
    const float x = std::cos(angle) * radius;
    const float z = std::sin(angle) * radius;
    const glm::vec2 capUv(x / radius * 0.5f + 0.5f, z / radius * 0.5f + 0.5f);
    const glm::vec3 sideNormal = glm::normalize(glm::vec3(x, 0.0f, z));
    const float u = angle / kTwoPi;
    addVertex(data, {x, -height / 2, z}, {0, -1, 0}, capUv);
    addVertex(data, {x, -height / 2, z}, sideNormal, {u, 0});
    addVertex(data, {x, height / 2, z}, {0, 1, 0}, capUv);
    addVertex(data, {x, height / 2, z}, sideNormal, {u, 1});
}

// Segment i's four vertices start at 2 + 4i; the last segment closes on segment 0.
void addCylinderSegmentTriangles(ShapeData& data, std::uint32_t i) {
    const std::uint32_t w = 4 * i;
    const std::uint32_t next = (i + 1 == kCylinderSegments) ? 0 : w + 4;
    const std::uint32_t bottomRim = 2, bottomSide = 3, topRim = 4, topSide = 5;
    addTriangle(data, 0, w + bottomRim, next + bottomRim);
    addTriangle(data, 1, next + topRim, w + topRim);
    addTriangle(data, w + bottomSide, next + topSide, next + bottomSide);
    addTriangle(data, next + topSide, w + bottomSide, w + topSide);
}

void addSphereCaps(ShapeData& data) {
    for (std::uint32_t i = 0; i < kSphereSegments; ++i) {
        const std::uint32_t j = (i + 1) % kSphereSegments;
        addTriangle(data, 0, kSphereFirstRingVertex + j, kSphereFirstRingVertex + i);
        addTriangle(data, kSphereLastRingVertex + i, kSphereLastRingVertex + j, 1);
    }
}

std::uint32_t sphereRingVertex(std::uint32_t ring, std::uint32_t i) {
    return kSphereFirstRingVertex + kSphereSegments * (ring - 1) + i;
}

// Ring d (1 .. 31) lies at polar angle d pi / 32 from the north pole. From the second
// ring on, each new vertex closes the quad between it and the ring above.
void addSphereRing(ShapeData& data, std::uint32_t ring, float radius) {
    const float theta = static_cast<float>(ring) * kPi / static_cast<float>(kSphereRings);
    const float ringRadius = std::sin(theta) * radius;
    const float y = std::cos(theta) * radius;
    const float v = theta / kPi;
    for (std::uint32_t i = 0; i < kSphereSegments; ++i) {
        const float phi = static_cast<float>(i) * kTwoPi / static_cast<float>(kSphereSegments);
        const glm::vec3 position(std::cos(phi) * ringRadius, y, std::sin(phi) * ringRadius);
        addVertex(data, position, glm::normalize(position), {phi / kTwoPi, v});
        if (ring < 2) continue;
        const std::uint32_t j = (i + 1) % kSphereSegments;
        const std::uint32_t above = ring - 1;
        addTriangle(data, sphereRingVertex(ring, i), sphereRingVertex(above, j),
                    sphereRingVertex(ring, j));
        addTriangle(data, sphereRingVertex(above, j), sphereRingVertex(ring, i),
                    sphereRingVertex(above, i));
    }
}

}  // namespace

ShapeData makeCube(float width, float height, float depth) {
    assert(width > 0 && height > 0 && depth > 0);
    const glm::vec3 half(width / 2, height / 2, depth / 2);
    ShapeData data;
    for (const CubeFace& face : kCubeFaces) {
        const auto first = static_cast<std::uint32_t>(data.positions.size());
        for (std::size_t corner = 0; corner < 4; ++corner)
            addVertex(data, face.corners[corner] * half, face.normal, face.uvs[corner]);
        addTriangle(data, first, first + 1, first + 2);
        addTriangle(data, first + 2, first + 3, first);
    }
    return data;
}

ShapeData makeCylinder(float height, float radius) {
    assert(height > 0 && radius > 0);
    ShapeData data;
    addVertex(data, {0, -height / 2, 0}, {0, -1, 0}, {0.5f, 0.5f});
    addVertex(data, {0, height / 2, 0}, {0, 1, 0}, {0.5f, 0.5f});
    for (std::uint32_t i = 0; i < kCylinderSegments; ++i) {
        addCylinderSegment(data, i, height, radius);
        addCylinderSegmentTriangles(data, i);
    }
    return data;
}

ShapeData makeSphere(float radius) {
    assert(radius > 0);
    ShapeData data;
    addVertex(data, {0, radius, 0}, {0, 1, 0}, {0, 0});
    addVertex(data, {0, -radius, 0}, {0, -1, 0}, {0, 1});
    addSphereCaps(data);
    for (std::uint32_t ring = 1; ring < kSphereRings; ++ring) addSphereRing(data, ring, radius);
    return data;
}
