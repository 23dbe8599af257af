#include "render/VertexBoneData.h"

void VertexBoneData::addWeight(std::int32_t boneId, float weight) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (weights[slot] != 0.0f) continue;
        boneIds[slot] = boneId;
        weights[slot] = weight;
        return;
    }
}
