#pragma once

#include <cstdint>

/// The sound sources the instruments are made of: band-limited oscillators, a resonant
/// low-pass filter and a noise source. All deterministic.
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
