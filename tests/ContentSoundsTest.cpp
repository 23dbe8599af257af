// The generated sound effects under <build>/assets/sounds, decoded by SDL's WAV reader
// (the one SDL_mixer loads them with), and the generator that makes them.

#include "support/TempFiles.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const kSoundFiles[] = {
    "shot_primary.wav", "shot_heavy.wav",  "boss_shot.wav",      "missile_launch.wav", "missile_warning.wav", "boss_hit.wav",
    "shield_hit.wav",   "craft_hit.wav",   "reload.wav",         "magazine_empty.wav", "shield_up.wav",       "shield_down.wav",
    "boss_destroyed.wav", "craft_destroyed.wav", "win.wav",      "lose.wav",
};

constexpr double kEdgeSeconds = 0.002;  // a click lives in the first and last 2 ms

struct Clip {
    int rate = 0;
    int channels = 0;
    SDL_AudioFormat format = 0;
    std::vector<float> samples;  ///< interleaved, -1..1
};

Clip decodeWav(const std::string& path) {
    Clip clip;
    SDL_AudioSpec wavFormat{};
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &wavFormat, &bytes, &length)) return clip;
    clip.rate = wavFormat.freq;
    clip.channels = wavFormat.channels;
    clip.format = wavFormat.format;
    if (wavFormat.format == AUDIO_S16LSB) {
        const auto* pcm = reinterpret_cast<const std::int16_t*>(bytes);
        for (Uint32 i = 0; i < length / 2; ++i) clip.samples.push_back(static_cast<float>(pcm[i]) / 32768.0f);
    }
    SDL_FreeWAV(bytes);
    return clip;
}

float peakOf(const std::vector<float>& samples, size_t from, size_t to) {
    float peak = 0.0f;
    for (size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

double rmsOf(const std::vector<float>& samples) {
    double sum = 0.0;
    for (float s : samples) sum += static_cast<double>(s) * s;
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

double decibels(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-9)); }

std::string soundPath(const std::filesystem::path& assets, const char* file) {
    return (assets / "sounds" / file).string();
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(ContentSounds, EveryEffectDecodesAudibleAtFullLevelWithoutClicks) {
    for (const char* file : kSoundFiles) {
        SCOPED_TRACE(file);
        const Clip clip = decodeWav(soundPath(std::string(QEX_BUILD_DIR) + "/assets", file));
        ASSERT_FALSE(clip.samples.empty()) << SDL_GetError();
        EXPECT_EQ(clip.rate, 44100);
        EXPECT_EQ(clip.channels, 1);
        const double seconds = static_cast<double>(clip.samples.size()) / clip.rate;
        EXPECT_GT(seconds, 0.1);
        EXPECT_LT(seconds, 3.0);

        const double peak = decibels(peakOf(clip.samples, 0, clip.samples.size()));
        EXPECT_GE(peak, -3.0);
        EXPECT_LE(peak, -0.1);
        EXPECT_GT(decibels(rmsOf(clip.samples)), -30.0);  // not a faint tail around one spike

        // A sound that starts or stops away from zero clicks: the edges stay below -20 dBFS.
        const auto edge = static_cast<size_t>(kEdgeSeconds * clip.rate);
        EXPECT_LT(decibels(peakOf(clip.samples, 0, edge)), -20.0);
        EXPECT_LT(decibels(peakOf(clip.samples, clip.samples.size() - edge, clip.samples.size())), -20.0);
    }
}

// A slip in the generator's table (two files from one design) would give two events one sound.
TEST(ContentSounds, EveryEffectIsItsOwnSound) {
    std::vector<std::string> contents;
    for (const char* file : kSoundFiles) contents.push_back(bytesOf(soundPath(std::string(QEX_BUILD_DIR) + "/assets", file)));
    for (size_t a = 0; a < contents.size(); ++a)
        for (size_t b = a + 1; b < contents.size(); ++b)
            EXPECT_NE(contents[a], contents[b]) << kSoundFiles[a] << " and " << kSoundFiles[b];
}

TEST(ContentSounds, TwoGeneratorRunsWriteTheSameBytes) {
    const TempDir first;
    const TempDir second;
    for (const TempDir* run : {&first, &second})
        ASSERT_EQ(std::system((std::string(QEX_CONTENT_BINARY) + " " + run->path().string() + " sounds > /dev/null").c_str()), 0);
    for (const char* file : kSoundFiles) {
        SCOPED_TRACE(file);
        const std::string bytes = bytesOf(soundPath(first.path(), file));
        EXPECT_GT(bytes.size(), 44u);
        EXPECT_EQ(bytes, bytesOf(soundPath(second.path(), file)));
    }
}
