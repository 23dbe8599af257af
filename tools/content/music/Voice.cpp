#include "tools/content/music/Voice.h"

#include "tools/content/music/LoopBuffer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRate = static_cast<float>(LoopBuffer::kSampleRate);

// The polyBLEP correction that rounds off a waveform's jump at phase 0.
float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

}  // namespace

float Oscillator::next(float frequency) {
    const float dt = frequency / kRate;
    float value = 0.0f;
    switch (waveform) {
        case Shape::Sine:
            value = std::sin(2.0f * kPi * phase);
            break;
        case Shape::Saw:
            value = 2.0f * phase - 1.0f - polyBlep(phase, dt);
            break;
        case Shape::Square: {
            value = phase < 0.5f ? 1.0f : -1.0f;
            value += polyBlep(phase, dt);
            float shifted = phase + 0.5f;
            if (shifted >= 1.0f) shifted -= 1.0f;
            value -= polyBlep(shifted, dt);
            break;
        }
    }
    phase += dt;
    if (phase >= 1.0f) phase -= 1.0f;
    return value;
}

float LowPass::next(float input, float cutoffHz, float resonance) {
    const float cutoff = std::clamp(cutoffHz, 20.0f, 18000.0f);
    const float g = std::tan(kPi * cutoff / kRate);
    const float k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    const float a1 = 1.0f / (1.0f + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = input - state2;
    const float v1 = a1 * state1 + a2 * v3;
    const float v2 = state2 + a2 * state1 + a3 * v3;
    state1 = 2.0f * v1 - state1;
    state2 = 2.0f * v2 - state2;
    return v2;
}

float NoiseSource::next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<float>(state) / 2147483648.0f - 1.0f;
}

float noteFrequency(float midiNote) { return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f); }

long framesIn(float seconds) { return static_cast<long>(seconds * kRate); }
float secondsAt(long frame) { return static_cast<float>(frame) / kRate; }
float decay(float t, float timeConstant) { return std::exp(-t / timeConstant); }
float softClip(float x) { return std::tanh(x); }
