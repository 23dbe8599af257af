#include "framework/TeapotTable.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The table's values are given to six decimals.
constexpr float kTolerance = 2e-6f;

}  // namespace

TEST(TeapotTable, Has512PositionsAnd1728Indices) {
    EXPECT_EQ(teapotPositions().size(), 512u);
    EXPECT_EQ(teapotIndices().size(), 1728u);
}

TEST(TeapotTable, RimPatchMatchesTheTellingRows) {
    struct Row {
        std::size_t index;
        glm::vec3 position;
    };
    const Row rows[] = {
        {0, {-0.011266f, 0.188986f, -0.392027f}}, {1, {0.187941f, 0.188986f, -0.339176f}},
        {2, {0.327909f, 0.188986f, -0.199208f}},  {3, {0.380760f, 0.188986f, 0.0f}},
        {4, {-0.011266f, 0.213487f, -0.387619f}}, {12, {-0.011266f, 0.188986f, -0.420029f}},
        {15, {0.408762f, 0.188986f, 0.0f}},
    };
    const std::vector<glm::vec3> positions = teapotPositions();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_NEAR(positions[row.index].x, row.position.x, kTolerance);
        EXPECT_NEAR(positions[row.index].y, row.position.y, kTolerance);
        EXPECT_NEAR(positions[row.index].z, row.position.z, kTolerance);
    }
}

TEST(TeapotTable, SpansTheStoredBounds) {
    const std::vector<glm::vec3> positions = teapotPositions();
    glm::vec3 low = positions[0], high = positions[0];
    for (const glm::vec3& p : positions) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    EXPECT_NEAR(low.x, -0.851324f, kTolerance);
    EXPECT_NEAR(high.x, 0.949096f, kTolerance);
    EXPECT_NEAR(low.y, -0.483060f, kTolerance);
    EXPECT_NEAR(high.y, 0.399000f, kTolerance);
    EXPECT_NEAR(low.z, -0.560038f, kTolerance);
    EXPECT_NEAR(high.z, 0.560038f, kTolerance);
}

TEST(TeapotTable, IndicesReferenceEveryPositionAndNoneBeyond) {
    const std::vector<std::uint32_t> indices = teapotIndices();
    std::vector<bool> referenced(512, false);
    for (const std::uint32_t index : indices) {
        ASSERT_LT(index, 512u);
        referenced[index] = true;
    }
    EXPECT_TRUE(std::all_of(referenced.begin(), referenced.end(), [](bool seen) { return seen; }));
}

TEST(TeapotTable, EachGridCellIsTwoTrianglesInPatchRowColumnOrder) {
    const std::vector<std::uint32_t> indices = teapotIndices();
    const std::vector<std::uint32_t> firstCell(indices.begin(), indices.begin() + 6);
    EXPECT_EQ(firstCell, (std::vector<std::uint32_t>{0, 5, 4, 0, 1, 5}));
    // Patch 1, row 2, column 1: i = 16 + 8 + 1.
    const std::size_t cell = (1 * 9 + 2 * 3 + 1) * 6;
    const std::vector<std::uint32_t> later(indices.begin() + cell, indices.begin() + cell + 6);
    EXPECT_EQ(later, (std::vector<std::uint32_t>{25, 30, 29, 25, 26, 30}));
}

TEST(TeapotTable, NeighbouringPatchesMeetAlongTheirEdges) {
    // The rim's first quarter ends on the +x axis, where its fourth quarter begins: the
    // last sample column of one is the first sample column of the other.
    const std::vector<glm::vec3> positions = teapotPositions();
    for (std::size_t row = 0; row < 4; ++row) {
        const glm::vec3 end = positions[4 * row + 3];
        const glm::vec3 nextStart = positions[16 * 3 + 4 * row];
        EXPECT_NEAR(glm::distance(end, nextStart), 0.0f, kTolerance) << row;
    }
}
