#pragma once

#include <glm/glm.hpp>

#include <functional>
#include <string>
#include <vector>

/// One bone's share of a vertex.
struct Influence {
    int bone = 0;
    float weight = 1.0f;
};

/// A vertex of a generated model: one per triangle corner that needs its own normal or uv.
struct MeshVertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};
    std::vector<Influence> influences;  ///< empty for unskinned models; weights sum to 1
};

/// Where a part's own (0..1, 0..1) texture coordinates land in the model's texture space.
struct UvRect {
    glm::vec2 origin{0.0f};
    glm::vec2 size{1.0f};
    glm::vec2 map(const glm::vec2& uv) const { return origin + uv * size; }
};

/// Builds triangle meshes from simple parts: surfaces of revolution, boxes, extruded
/// outlines, tori and ribbons, each placed by the current transform, tagged with the
/// current bone and mapped into the current uv rectangle.
///
/// Triangles wind counter-clockwise seen from outside, matching the normals.
class MeshBuilder {
public:
    /// Placement of the parts added from now on (applied to positions and normals).
    void setTransform(const glm::mat4& transform);
    /// Parts added from now on follow `bone` fully; -1 leaves them unskinned.
    void setBone(int bone);
    void setUvRect(const UvRect& rect);

    /// A surface of revolution about the local y axis. `profile` holds (radius, y) points
    /// from the bottom to the top, the outside on the larger-radius side. Flat parts get a
    /// face normal per triangle (a faceted look); smooth parts interpolate.
    void addLathe(const std::vector<glm::vec2>& profile, int segments, bool flat);
    void addSphere(float radius, int segments, int rings);
    /// An axis-aligned box centred on the local origin, each face mapped to the full rect.
    void addBox(const glm::vec3& halfExtents);
    /// A convex outline in the local xz plane pushed up along y by `thickness` (centred).
    void addSlab(const std::vector<glm::vec2>& outlineXZ, float thickness);
    /// A ring about the local y axis.
    void addTorus(float majorRadius, float minorRadius, int segments, int sides);
    /// A double-sided strip along `spine` (local points), `width` wide across `across`.
    void addRibbon(const std::vector<glm::vec3>& spine, const glm::vec3& across, float width);

    /// Replaces the influences of the vertices from `firstVertex` on with `weigh(position)`.
    void reweigh(size_t firstVertex, const std::function<std::vector<Influence>(const glm::vec3&)>& weigh);
    size_t vertexCount() const { return vertices.size(); }
    const std::vector<MeshVertex>& meshVertices() const { return vertices; }
    const std::vector<unsigned>& triangleIndices() const { return indices; }

private:
    void appendTriangle(unsigned a, unsigned b, unsigned c);
    unsigned addVertex(const glm::vec3& localPosition, const glm::vec3& localNormal, const glm::vec2& uv);
    void addFlatTriangle(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec2& ua,
                         const glm::vec2& ub, const glm::vec2& uc, const glm::vec3& outward);
    void addFlatQuad(const glm::vec3 corners[4], const glm::vec2 uvs[4], const glm::vec3& outward);

    std::vector<MeshVertex> vertices;
    std::vector<unsigned> indices;
    glm::mat4 placement{1.0f};
    glm::mat3 normalPlacement{1.0f};
    int bone = -1;
    UvRect uvRect;
};
