#pragma once

#include <cstdint>

/// Up to four bone influences of one vertex: 32 bytes, attributes 3 and 4 of "texture.vert".
/// A slot is free while its weight is exactly 0.0.
struct VertexBoneData {
    static constexpr int kSlots = 4;

    std::int32_t boneIds[kSlots] = {0, 0, 0, 0};       ///< model-wide bone indices, byte 0
    float weights[kSlots] = {0.0f, 0.0f, 0.0f, 0.0f};  ///< byte 16

    /// Puts the influence in the first free slot; a fifth influence is dropped.
    void addWeight(std::int32_t boneId, float weight);
    /// Frees the slots of bones `firstUnusable` and later, and scales the weights left
    /// back to a sum of 1 if any slot was freed.
    void dropBonesFrom(std::int32_t firstUnusable);
};

static_assert(sizeof(VertexBoneData) == 32, "the bone attribute offsets assume 32 bytes");
