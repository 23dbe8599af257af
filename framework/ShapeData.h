#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

/// An indexed triangle mesh in main memory, as the shape generators make it and a
/// Shape uploads it: one normal and one texture coordinate per position, three indices
/// per triangle, counter-clockwise seen from outside. A plain value; move it around.
struct ShapeData {
    std::vector<glm::vec3> positions;
    std::vector<std::uint32_t> indices;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
};

/// A box centred at the origin: 24 vertices (four per face, so each face has its own
/// normal and its own 0..1 uvs) and 36 indices. Faces in the order front (+z), back,
/// right (+x), left, top (+y), bottom. Sizes must be positive.
ShapeData makeCube(float width, float height, float depth);

/// A closed cylinder along y, centred at the origin, of 32 segments: 130 vertices
/// (two cap centres, then per segment a cap rim and a side vertex at each end) and 384
/// indices. The side's u runs 0 .. 31/32 around and wraps to 0 without a seam vertex.
/// Sizes must be positive.
ShapeData makeCylinder(float height, float radius);

/// A sphere centred at the origin, 64 segments around y and 32 rings from pole to pole:
/// 1986 vertices (north pole, south pole, then 31 rings of 64 from north to south) and
/// 11904 indices, the pole caps first. The radius must be positive.
ShapeData makeSphere(float radius);
