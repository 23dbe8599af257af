#pragma once

#include <cstdint>

constexpr float kPi = 3.14159265f;

/// The sound sources the instruments and the sound effects are made of: band-limited
/// oscillators, a resonant low-pass filter, a noise source and envelope helpers. All
/// deterministic.
class Oscillator {
public:
    enum class Shape { Sine, Saw, Square };

    Oscillator(Shape shape, float startPhase = 0.0f) : waveform(shape), phase(startPhase) {}
    /// The next sample at `frequency` Hz; saw and square are band-limited (polyBLEP).
    float next(float frequency);

private:
    Shape waveform;
    float phase;
};

/// A state-variable low-pass filter (topology-preserving transform): stable for any cutoff.
class LowPass {
public:
    /// `resonance` 0 (none) .. about 0.95 (ringing).
    float next(float input, float cutoffHz, float resonance);

private:
    float state1 = 0.0f;
    float state2 = 0.0f;
};

/// White noise in [-1, 1] from a fixed seed.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed) : state(seed ? seed : 1u) {}
    float next();

private:
    std::uint32_t state;
};

/// Frequency in Hz of a MIDI note number (69 = A4 = 440 Hz).
float noteFrequency(float midiNote);

/// Frames in `seconds` at the content's sample rate (LoopBuffer::kSampleRate), and back.
long framesIn(float seconds);
float secondsAt(long frame);
/// An exponential fall: 1 at t = 0, 1/e after `timeConstant` seconds.
float decay(float t, float timeConstant);
/// Saturates smoothly toward +-1: drive without hard clipping.
float softClip(float x);
