#include "framework/ShapeData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTolerance = 1e-5f;

void expectNear(const glm::vec3& actual, const glm::vec3& expected) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
    EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

void expectNear(const glm::vec2& actual, const glm::vec2& expected) {
    EXPECT_NEAR(actual.x, expected.x, kTolerance);
    EXPECT_NEAR(actual.y, expected.y, kTolerance);
}

void expectConsistent(const ShapeData& data) {
    EXPECT_EQ(data.normals.size(), data.positions.size());
    EXPECT_EQ(data.uvs.size(), data.positions.size());
    EXPECT_EQ(data.indices.size() % 3, 0u);
    for (const std::uint32_t index : data.indices) ASSERT_LT(index, data.positions.size());
}

// Counter-clockwise seen from outside: the winding's normal agrees with the vertex normals.
void expectTrianglesFaceTheirNormals(const ShapeData& data) {
    for (std::size_t t = 0; t < data.indices.size(); t += 3) {
        const std::uint32_t a = data.indices[t], b = data.indices[t + 1], c = data.indices[t + 2];
        const glm::vec3 winding = glm::cross(data.positions[b] - data.positions[a],
                                             data.positions[c] - data.positions[a]);
        const glm::vec3 normal = data.normals[a] + data.normals[b] + data.normals[c];
        ASSERT_GT(glm::dot(winding, normal), 0.0f) << "triangle " << t / 3;
    }
}

std::vector<std::uint32_t> sixIndicesFrom(const ShapeData& data, std::ptrdiff_t first) {
    const auto start = data.indices.begin() + first;
    return std::vector<std::uint32_t>(start, start + 6);
}

}  // namespace

TEST(Cube, HasFourVerticesAFaceAndTwelveTriangles) {
    const ShapeData cube = makeCube(2, 4, 6);
    EXPECT_EQ(cube.positions.size(), 24u);
    EXPECT_EQ(cube.indices.size(), 36u);
    expectConsistent(cube);
}

TEST(Cube, FirstAndLastVerticesAreTheFrontAndBottomCorners) {
    const ShapeData cube = makeCube(2, 4, 6);
    expectNear(cube.positions[0], {-1, -2, 3});
    expectNear(cube.normals[0], {0, 0, 1});
    expectNear(cube.uvs[0], {0, 0});
    expectNear(cube.positions[23], {-1, -2, 3});
    expectNear(cube.normals[23], {0, -1, 0});
    expectNear(cube.uvs[23], {0, 1});
}

TEST(Cube, FacesAreFlatWithOutwardNormalsInTheirOrder) {
    const ShapeData cube = makeCube(2, 4, 6);
    const glm::vec3 normals[] = {{0, 0, 1},  {0, 0, -1}, {1, 0, 0},
                                 {-1, 0, 0}, {0, 1, 0},  {0, -1, 0}};
    const glm::vec3 half(1, 2, 3);
    for (std::size_t face = 0; face < 6; ++face)
        for (std::size_t corner = 0; corner < 4; ++corner) {
            const std::size_t v = 4 * face + corner;
            expectNear(cube.normals[v], normals[face]);
            // Every corner of a face lies on the face's plane.
            EXPECT_NEAR(glm::dot(cube.positions[v], normals[face]),
                        glm::dot(half, glm::abs(normals[face])), kTolerance);
        }
}

TEST(Cube, IndicesSplitEachFaceAlongItsDiagonal) {
    const ShapeData cube = makeCube(1, 1, 1);
    EXPECT_EQ(sixIndicesFrom(cube, 30), (std::vector<std::uint32_t>{20, 21, 22, 22, 23, 20}));
}

TEST(Cube, TrianglesAreCounterClockwiseFromOutside) {
    expectTrianglesFaceTheirNormals(makeCube(2, 4, 6));
}

TEST(Cylinder, Has130VerticesAnd384Indices) {
    const ShapeData cylinder = makeCylinder(1.3f, 1.0f);
    EXPECT_EQ(cylinder.positions.size(), 130u);
    EXPECT_EQ(cylinder.normals.size(), 130u);
    EXPECT_EQ(cylinder.uvs.size(), 130u);
    EXPECT_EQ(cylinder.indices.size(), 384u);
    expectConsistent(cylinder);
}

TEST(Cylinder, CentresThenTheFirstBottomRimVertex) {
    const ShapeData cylinder = makeCylinder(1.3f, 1.0f);
    expectNear(cylinder.positions[0], {0, -0.65f, 0});
    expectNear(cylinder.positions[1], {0, 0.65f, 0});
    expectNear(cylinder.uvs[1], {0.5f, 0.5f});
    expectNear(cylinder.positions[2], {1, -0.65f, 0});
    expectNear(cylinder.normals[2], {0, -1, 0});
    expectNear(cylinder.uvs[2], {1, 0.5f});
}

TEST(Cylinder, SideVerticesPointAwayFromTheAxis) {
    const ShapeData cylinder = makeCylinder(2.0f, 3.0f);
    // Segment 8 is a quarter turn round: the side normal is +z, u is a quarter.
    expectNear(cylinder.positions[3 + 4 * 8], {0, -1, 3});
    expectNear(cylinder.normals[3 + 4 * 8], {0, 0, 1});
    expectNear(cylinder.uvs[3 + 4 * 8], {0.25f, 0});
    expectNear(cylinder.normals[5 + 4 * 8], {0, 0, 1});
    expectNear(cylinder.uvs[5 + 4 * 8], {0.25f, 1});
    expectNear(cylinder.uvs[4 + 4 * 8], {0.5f, 1.0f});  // cap uv follows the rim
}

TEST(Cylinder, LastSegmentClosesOnTheFirstWithoutASeam) {
    const ShapeData cylinder = makeCylinder(1.3f, 1.0f);
    const std::vector<std::uint32_t> last(cylinder.indices.end() - 12, cylinder.indices.end());
    const std::uint32_t w = 4 * 31;
    EXPECT_EQ(last, (std::vector<std::uint32_t>{0, w + 2, 2, 1, 4, w + 4,  //
                                                w + 3, 5, 3, 5, w + 3, w + 5}));
    const std::vector<std::uint32_t> first(cylinder.indices.begin(), cylinder.indices.begin() + 12);
    EXPECT_EQ(first, (std::vector<std::uint32_t>{0, 2, 6, 1, 8, 4, 3, 9, 7, 9, 3, 5}));
}

TEST(Cylinder, TrianglesAreCounterClockwiseFromOutside) {
    expectTrianglesFaceTheirNormals(makeCylinder(1.3f, 1.0f));
}

TEST(Sphere, Has1986VerticesAnd11904Indices) {
    const ShapeData sphere = makeSphere(1.0f);
    EXPECT_EQ(sphere.positions.size(), 1986u);
    EXPECT_EQ(sphere.indices.size(), 11904u);
    expectConsistent(sphere);
}

TEST(Sphere, PolesComeFirst) {
    const ShapeData sphere = makeSphere(2.0f);
    expectNear(sphere.positions[0], {0, 2, 0});
    expectNear(sphere.normals[0], {0, 1, 0});
    expectNear(sphere.uvs[0], {0, 0});
    expectNear(sphere.positions[1], {0, -2, 0});
    expectNear(sphere.normals[1], {0, -1, 0});
    expectNear(sphere.uvs[1], {0, 1});
}

TEST(Sphere, SixteenthRingIsTheEquator) {
    const ShapeData sphere = makeSphere(1.0f);
    const std::size_t firstOfRing16 = 2 + 64 * 15;  // 962
    expectNear(sphere.positions[firstOfRing16], {1, 0, 0});
    expectNear(sphere.uvs[firstOfRing16], {0, 0.5f});
    for (std::size_t i = 0; i < 64; ++i)
        EXPECT_NEAR(sphere.positions[firstOfRing16 + i].y, 0.0f, kTolerance);
}

TEST(Sphere, EveryVertexLiesOnTheSphereWithItsNormalOutward) {
    const ShapeData sphere = makeSphere(2.5f);
    for (std::size_t v = 0; v < sphere.positions.size(); ++v) {
        ASSERT_NEAR(glm::length(sphere.positions[v]), 2.5f, kTolerance) << v;
        expectNear(sphere.normals[v], sphere.positions[v] / 2.5f);
    }
}

TEST(Sphere, CapsComeFirstAlternatingNorthAndSouth) {
    const ShapeData sphere = makeSphere(1.0f);
    EXPECT_EQ(sixIndicesFrom(sphere, 0), (std::vector<std::uint32_t>{0, 3, 2, 1922, 1923, 1}));
    EXPECT_EQ(sixIndicesFrom(sphere, 378), (std::vector<std::uint32_t>{0, 2, 65, 1985, 1922, 1}));
    // Then the first band, between rings 1 and 2, built as ring 2 is laid out.
    EXPECT_EQ(sixIndicesFrom(sphere, 384), (std::vector<std::uint32_t>{66, 3, 67, 3, 66, 2}));
}

TEST(Sphere, TrianglesAreCounterClockwiseFromOutside) {
    expectTrianglesFaceTheirNormals(makeSphere(1.0f));
}
