#include "render/VertexBoneData.h"

void VertexBoneData::addWeight(std::int32_t boneId, float weight) {
    for (int slot = 0; slot < kSlots; ++slot) {
        if (weights[slot] != 0.0f) continue;
        boneIds[slot] = boneId;
        weights[slot] = weight;
        return;
    }
}

void VertexBoneData::dropBonesFrom(std::int32_t firstUnusable) {
    bool dropped = false;
    float kept = 0.0f;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (weights[slot] == 0.0f) continue;
        if (boneIds[slot] >= firstUnusable) {
            boneIds[slot] = 0;
            weights[slot] = 0.0f;
            dropped = true;
        } else {
            kept += weights[slot];
        }
    }
    if (dropped && kept > 0.0f)
        for (float& weight : weights) weight /= kept;
}
