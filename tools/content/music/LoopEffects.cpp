#include "tools/content/music/LoopEffects.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Classic delay lengths (frames at 44.1 kHz) of a Schroeder-Moorer reverberator; the right
// channel's are slightly longer so the two sides decorrelate.
constexpr std::array<int, 8> kCombLengths = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> kAllPassLengths = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;
constexpr float kAllPassFeedback = 0.5f;

class Comb {
public:
    explicit Comb(int length) : line(static_cast<size_t>(length), 0.0f) {}
    float next(float input, float feedback, float damping) {
        const float out = line[position];
        filtered = out * (1.0f - damping) + filtered * damping;
        line[position] = input + filtered * feedback;
        position = (position + 1) % line.size();
        return out;
    }

private:
    std::vector<float> line;
    size_t position = 0;
    float filtered = 0.0f;
};

class AllPass {
public:
    explicit AllPass(int length) : line(static_cast<size_t>(length), 0.0f) {}
    float next(float input) {
        const float delayed = line[position];
        line[position] = input + delayed * kAllPassFeedback;
        position = (position + 1) % line.size();
        return delayed - input;
    }

private:
    std::vector<float> line;
    size_t position = 0;
};

class Room {
public:
    explicit Room(int spread) {
        for (int length : kCombLengths) combs.emplace_back(length + spread);
        for (int length : kAllPassLengths) allPasses.emplace_back(length + spread);
    }
    float next(float input, float feedback, float damping) {
        float sum = 0.0f;
        for (Comb& comb : combs) sum += comb.next(input, feedback, damping);
        for (AllPass& allPass : allPasses) sum = allPass.next(sum);
        return sum;
    }

private:
    std::vector<Comb> combs;
    std::vector<AllPass> allPasses;
};

}  // namespace

LoopBuffer pingPongEcho(const LoopBuffer& dry, long delayFrames, float feedback) {
    const size_t n = dry.frames();
    LoopBuffer wet(n);
    const auto back = [n, delayFrames](size_t i) { return (i + n - static_cast<size_t>(delayFrames) % n) % n; };
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < n; ++i) {
            const size_t j = back(i);
            // The first echo comes from the right; each later one from the other side.
            wet.right[i] = 0.5f * (dry.left[j] + dry.right[j]) + feedback * wet.left[j];
            wet.left[i] = feedback * wet.right[j];
        }
    return wet;
}

LoopBuffer roomReverb(const LoopBuffer& dry, float size, float damping) {
    const size_t n = dry.frames();
    LoopBuffer wet(n);
    Room left(0);
    Room right(kStereoSpread);
    const float feedback = 0.7f + 0.28f * size;
    const float input = 0.015f;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < n; ++i) {
            const float mono = (dry.left[i] + dry.right[i]) * input;
            wet.left[i] = left.next(mono, feedback, damping);
            wet.right[i] = right.next(mono, feedback, damping);
        }
    return wet;
}

void master(LoopBuffer& mix, float drivePeak) {
    const auto peakOf = [&mix]() {
        float peak = 0.0f;
        for (size_t i = 0; i < mix.frames(); ++i)
            peak = std::max(peak, std::max(std::fabs(mix.left[i]), std::fabs(mix.right[i])));
        return peak;
    };
    const float drive = drivePeak / std::max(peakOf(), 1e-6f);
    for (size_t i = 0; i < mix.frames(); ++i) {
        mix.left[i] = std::tanh(mix.left[i] * drive);
        mix.right[i] = std::tanh(mix.right[i] * drive);
    }
    const float gain = 0.89f / std::max(peakOf(), 1e-6f);  // about -1 dBFS
    for (size_t i = 0; i < mix.frames(); ++i) {
        mix.left[i] *= gain;
        mix.right[i] *= gain;
    }
}
