#include "tools/content/music/LoopBuffer.h"

#include <cmath>

LoopBuffer::LoopBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

size_t LoopBuffer::wrap(long at) const {
    const long n = static_cast<long>(left.size());
    return static_cast<size_t>(((at % n) + n) % n);
}

void LoopBuffer::add(long at, float sample, float pan) {
    // Constant-power panning.
    const float angle = (pan + 1.0f) * 0.25f * 3.14159265f;
    addStereo(at, sample * std::cos(angle) * 1.41421356f, sample * std::sin(angle) * 1.41421356f);
}

void LoopBuffer::addStereo(long at, float l, float r) {
    const size_t i = wrap(at);
    left[i] += l;
    right[i] += r;
}

void LoopBuffer::mix(const LoopBuffer& other, float gain) {
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] += other.left[i] * gain;
        right[i] += other.right[i] * gain;
    }
}

void LoopBuffer::applyGain(const std::vector<float>& gain) {
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] *= gain[i];
        right[i] *= gain[i];
    }
}
