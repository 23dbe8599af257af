#pragma once

#include <cstddef>
#include <vector>

/// A stereo track that loops: whatever is written past the end continues at the start,
/// so that note tails and echoes cross the loop point and the track repeats seamlessly.
/// Samples are floats at kSampleRate, nominally within [-1, 1].
class LoopBuffer {
public:
    static constexpr int kSampleRate = 44100;

    explicit LoopBuffer(size_t frames);

    size_t frames() const { return left.size(); }
    /// Adds a sample at frame `at` (wrapped), placed by `pan` (-1 left .. 1 right).
    void add(long at, float sample, float pan);
    void addStereo(long at, float l, float r);
    /// Adds `other` (same length) scaled by `gain`.
    void mix(const LoopBuffer& other, float gain);
    /// Multiplies every frame by `gain[frame]`.
    void applyGain(const std::vector<float>& gain);

    std::vector<float> left;
    std::vector<float> right;

private:
    size_t wrap(long at) const;
};
