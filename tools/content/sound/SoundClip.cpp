#include "tools/content/sound/SoundClip.h"

#include "tools/content/music/LoopBuffer.h"
#include "tools/content/music/Voice.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>

namespace {

constexpr int kBytesPerSample = 2;

void appendLittleEndian(std::string& bytes, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
}

std::int16_t toPcm16(float sample) {
    return static_cast<std::int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

}  // namespace

SoundClip::SoundClip(float seconds) : samples(static_cast<size_t>(framesIn(seconds)), 0.0f) {}

void SoundClip::add(long frame, float sample) {
    if (frame >= 0 && frame < frames()) samples[static_cast<size_t>(frame)] += sample;
}

SoundClip& SoundClip::finish() {
    const long fadeIn = framesIn(kFadeInSeconds);
    const long fadeOut = framesIn(kFadeOutSeconds);
    float peak = 0.0f;
    for (long i = 0; i < frames(); ++i) {
        float& sample = samples[static_cast<size_t>(i)];
        if (i < fadeIn) sample *= std::pow(static_cast<float>(i) / static_cast<float>(fadeIn), 3.0f);
        const long fromEnd = frames() - 1 - i;
        if (fromEnd < fadeOut) sample *= 0.5f - 0.5f * std::cos(kPi * static_cast<float>(fromEnd) / static_cast<float>(fadeOut));
        peak = std::max(peak, std::fabs(sample));
    }
    const float gain = peak > 0.0f ? kPeak / peak : 0.0f;
    for (float& sample : samples) sample *= gain;
    return *this;
}

bool SoundClip::writeWav(const std::string& path) const {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    std::string wav = "RIFF";
    appendLittleEndian(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    appendLittleEndian(wav, 16, 4);  // size of the format chunk
    appendLittleEndian(wav, 1, 2);   // integer PCM
    appendLittleEndian(wav, 1, 2);   // mono
    appendLittleEndian(wav, LoopBuffer::kSampleRate, 4);
    appendLittleEndian(wav, LoopBuffer::kSampleRate * kBytesPerSample, 4);
    appendLittleEndian(wav, kBytesPerSample, 2);
    appendLittleEndian(wav, 8 * kBytesPerSample, 2);
    wav += "data";
    appendLittleEndian(wav, dataBytes, 4);
    for (float s : samples) appendLittleEndian(wav, static_cast<std::uint16_t>(toPcm16(s)), kBytesPerSample);

    std::ofstream out(path, std::ios::binary);
    out.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    if (out) return true;
    std::cout << "Cannot write " << path << std::endl;
    return false;
}
