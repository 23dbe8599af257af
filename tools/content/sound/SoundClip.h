#pragma once

#include <string>
#include <vector>

/// A mono sound effect in the making: float samples at LoopBuffer::kSampleRate, built up
/// by adding voices, then finished (peak level and fades) and written as a WAV file.
class SoundClip {
public:
    static constexpr float kPeak = 0.891f;           ///< -1 dBFS, the level every effect peaks at
    static constexpr float kFadeInSeconds = 0.005f;  ///< short enough to keep a shot's snap
    static constexpr float kFadeOutSeconds = 0.02f;

    explicit SoundClip(float seconds);

    long frames() const { return static_cast<long>(samples.size()); }
    /// Adds `sample` at `frame`; frames beyond the clip are dropped.
    void add(long frame, float sample);
    /// Scales the clip to peak at kPeak and fades its ends, so that it starts and stops
    /// without a click; the fade-in rises with the cube of time, so its first 2 ms stay
    /// below a tenth of the peak.
    SoundClip& finish();
    /// 16-bit PCM, mono. Prints a line and returns false when the file cannot be written.
    bool writeWav(const std::string& path) const;

    std::vector<float> samples;
};
