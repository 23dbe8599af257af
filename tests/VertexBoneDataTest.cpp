#include "render/VertexBoneData.h"

#include <gtest/gtest.h>

TEST(VertexBoneData, FillsSlotsInOrderAndDropsAFifthWeight) {
    VertexBoneData data;
    for (int bone = 0; bone < 5; ++bone)
        data.addWeight(bone + 10, 0.1f * static_cast<float>(bone + 1));
    EXPECT_EQ(data.boneIds[0], 10);
    EXPECT_EQ(data.boneIds[3], 13);
    EXPECT_FLOAT_EQ(data.weights[0], 0.1f);
    EXPECT_FLOAT_EQ(data.weights[3], 0.4f);
}

// A zero weight leaves its slot free, so the next influence lands there.
TEST(VertexBoneData, ZeroWeightLeavesTheSlotFree) {
    VertexBoneData data;
    data.addWeight(1, 0.0f);
    data.addWeight(2, 0.5f);
    EXPECT_EQ(data.boneIds[0], 2);
    EXPECT_FLOAT_EQ(data.weights[0], 0.5f);
    EXPECT_FLOAT_EQ(data.weights[1], 0.0f);
}
