// Each piece of music as the game hears it: SDL_mixer, with the MP3 decoder it uses here,
// plays the file looped (as the game's engine does) into SDL's file-writing driver, which
// runs as fast as the decoder can, and a post-mix hook keeps what the mixer put out.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kMusicFiles[] = {"NA_AlienManifestation.mp3", "title.mp3"};
constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr std::int16_t kNearSilence = 33;  // -60 dBFS
constexpr double kLongestQuietSeconds = 0.002;

struct Capture {
    size_t wantedSamples = 0;
    std::vector<std::int16_t> samples;  ///< interleaved stereo
    std::atomic<bool> full{false};
};

// Runs on the mixer's thread. The device lock is held around the mix, so the music either
// started before this buffer or not at all: nothing ahead of its first sample is kept.
void keepMix(void* user, Uint8* stream, int bytes) {
    auto& capture = *static_cast<Capture*>(user);
    if (capture.full || !Mix_PlayingMusic()) return;
    const auto* pcm = reinterpret_cast<const std::int16_t*>(stream);
    capture.samples.insert(capture.samples.end(), pcm, pcm + bytes / 2);
    if (capture.samples.size() >= capture.wantedSamples) capture.full = true;
}

struct LoopedMusic {
    long framesPerPlay = 0;
    std::vector<std::int16_t> samples;
    std::int16_t at(long frame, int channel) const { return samples[static_cast<size_t>(frame * kChannels + channel)]; }
    long frames() const { return static_cast<long>(samples.size() / kChannels); }
};

// One and a half plays of the looped music, as the mixer put it out.
LoopedMusic decodeLooped(const std::string& file) {
    LoopedMusic result;
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);  // no pretending to be a real device's clock
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "disk");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return result;
    if (Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, kChannels, 2048, nullptr, 0) == 0) {
        if (Mix_Music* music = Mix_LoadMUS(file.c_str())) {
            result.framesPerPlay = std::lround(Mix_MusicDuration(music) * kRate);
            Capture capture;
            capture.wantedSamples = static_cast<size_t>(result.framesPerPlay * 3 / 2 * kChannels);
            Mix_SetPostMix(keepMix, &capture);
            Mix_PlayMusic(music, -1);
            for (int waited = 0; !capture.full && waited < 60000; waited += 5) SDL_Delay(5);
            Mix_HaltMusic();
            Mix_SetPostMix(nullptr, nullptr);
            Mix_FreeMusic(music);
            result.samples = std::move(capture.samples);
        }
        Mix_CloseAudio();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return result;
}

bool isQuiet(const LoopedMusic& music, long frame) {
    return std::abs(music.at(frame, 0)) <= kNearSilence && std::abs(music.at(frame, 1)) <= kNearSilence;
}

long longestQuietRun(const LoopedMusic& music, long from, long to) {
    long longest = 0;
    long run = 0;
    for (long f = std::max(from, 0L); f < std::min(to, music.frames()); ++f) {
        run = isQuiet(music, f) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The largest change from one sample to the next, either channel, for frames [from, to).
int largestJump(const LoopedMusic& music, long from, long to) {
    int largest = 0;
    for (long f = std::max(from, 1L); f < std::min(to, music.frames()); ++f)
        for (int c = 0; c < kChannels; ++c) largest = std::max(largest, std::abs(music.at(f, c) - music.at(f - 1, c)));
    return largest;
}

}  // namespace

TEST(MusicSeam, TheGamesDecoderLoopsEachPieceWithoutAGapOrAJump) {
    for (const char* file : kMusicFiles) {
        SCOPED_TRACE(file);
        const LoopedMusic music = decodeLooped(std::string(QEX_BUILD_DIR) + "/assets/music/" + file);
        ASSERT_GT(music.framesPerPlay, kRate * 60L) << SDL_GetError();
        ASSERT_GE(music.frames(), music.framesPerPlay * 3 / 2);

        const long seam = music.framesPerPlay;
        const long halfSecond = kRate / 2;
        const auto longestQuiet = static_cast<long>(kLongestQuietSeconds * kRate);
        EXPECT_LE(longestQuietRun(music, 0, halfSecond), longestQuiet) << "the music starts late";
        EXPECT_LE(longestQuietRun(music, seam - halfSecond, seam + halfSecond), longestQuiet) << "a gap at the seam";

        const long nearSeam = kRate / 100;  // 10 ms either side
        const int withinTrack = largestJump(music, 1, seam - nearSeam);
        EXPECT_LE(largestJump(music, seam - nearSeam, seam + nearSeam), withinTrack);
        // The second play is the first again, sample for sample: the seam is the track's own.
        for (long f = 0; f < halfSecond; f += 97)
            ASSERT_EQ(music.at(seam + f, 0), music.at(f, 0)) << "frame " << f << " after the seam";
    }
}
