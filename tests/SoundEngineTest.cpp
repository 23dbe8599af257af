// The sound layer on SDL's silent driver, as CI (which has no audio device) runs it.

#include "audio/SoundEngine.h"

#include "support/TempFiles.h"

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

const std::string kMusic = std::string(QEX_BUILD_DIR) + "/assets/music/NA_AlienManifestation.mp3";
const std::string kTitleMusic = std::string(QEX_BUILD_DIR) + "/assets/music/title.mp3";
const std::string kSounds = std::string(QEX_BUILD_DIR) + "/assets/sounds/";

// A short 16-bit stereo WAV tone, so that a loop comes round within the test.
std::string toneFile(const TempDir& dir, double seconds) {
    constexpr std::uint32_t kRate = 44100;
    const std::uint32_t frames = static_cast<std::uint32_t>(seconds * kRate);
    std::string wav;
    const auto word = [&wav](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) wav.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    wav += "RIFF";
    word(36 + frames * 4, 4);
    wav += "WAVEfmt ";
    word(16, 4);
    word(1, 2);  // PCM
    word(2, 2);
    word(kRate, 4);
    word(kRate * 4, 4);
    word(4, 2);
    word(16, 2);
    wav += "data";
    word(frames * 4, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const auto s = static_cast<std::int16_t>(8000.0 * std::sin(2.0 * 3.14159265 * 440.0 * i / kRate));
        word(static_cast<std::uint16_t>(s), 2);
        word(static_cast<std::uint16_t>(s), 2);
    }
    return dir.write("tone.wav", wav);
}

void waitSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// One engine per test, released with drop() as the game releases it.
class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        engine = createIrrKlangDevice(SoundDriver::Null);
        ASSERT_NE(engine, nullptr);
    }
    void TearDown() override {
        if (engine) engine->drop();
    }
    SoundEngine* engine = nullptr;
};

}  // namespace

TEST_F(Sound, TheNullDriverIsSilentOutput) { EXPECT_TRUE(engine->isSilent()); }

TEST_F(Sound, MusicStartsPlayingAtOnceAndMovesOn) {
    engine->play2D(kMusic, true);
    EXPECT_TRUE(engine->isCurrentlyPlaying(kMusic));
    const double start = engine->playPosition();
    waitSeconds(0.5);
    EXPECT_TRUE(engine->isCurrentlyPlaying(kMusic));
    EXPECT_GT(engine->playPosition(), start + 0.2);  // the silent driver keeps real time
}

TEST_F(Sound, LoopedMusicComesRoundAgain) {
    TempDir dir;
    const std::string tone = toneFile(dir, 0.3);
    engine->play2D(tone, true);
    waitSeconds(1.0);  // more than three times the length
    EXPECT_TRUE(engine->isCurrentlyPlaying(tone));
    EXPECT_LT(engine->playPosition(), 0.35);
}

TEST_F(Sound, MusicPlayedOnceEnds) {
    TempDir dir;
    const std::string tone = toneFile(dir, 0.3);
    engine->play2D(tone, false);
    EXPECT_TRUE(engine->isCurrentlyPlaying(tone));
    waitSeconds(1.0);
    EXPECT_FALSE(engine->isCurrentlyPlaying(tone));
}

TEST_F(Sound, StopAllSoundsStopsTheMusicAndPlayRestartsItFromTheBeginning) {
    engine->play2D(kMusic, true);
    waitSeconds(0.5);
    engine->stopAllSounds();
    EXPECT_FALSE(engine->isCurrentlyPlaying(kMusic));
    EXPECT_LT(engine->playPosition(), 0.0);
    engine->play2D(kMusic, true);  // what the match restart does
    EXPECT_TRUE(engine->isCurrentlyPlaying(kMusic));
    EXPECT_LT(engine->playPosition(), 0.3);
}

// The title's music gives way to the match's: the one fades out, then the other fades in
// from its start; asking for the piece that plays changes nothing.
TEST_F(Sound, PlayMusicFadesTheOldPieceOutThenTheNewOneIn) {
    ASSERT_TRUE(engine->loadMusic(kTitleMusic));
    engine->playMusic(kTitleMusic, 0.4f);
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);
    waitSeconds(0.5);
    engine->playMusic(kMusic, 0.4f);
    engine->update();
    EXPECT_TRUE(engine->isCurrentlyPlaying(kTitleMusic));
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_OUT);
    waitSeconds(0.6);  // the fade-out takes 0.2 s
    engine->update();
    EXPECT_TRUE(engine->isCurrentlyPlaying(kMusic));
    EXPECT_EQ(Mix_FadingMusic(), MIX_FADING_IN);
    EXPECT_LT(engine->playPosition(), 0.2);
    waitSeconds(0.4);
    engine->playMusic(kMusic, 0.4f);
    engine->update();
    EXPECT_GT(engine->playPosition(), 0.3);
    EXPECT_EQ(Mix_FadingMusic(), MIX_NO_FADING);
}

TEST_F(Sound, VolumeIsKeptWithinZeroAndOne) {
    engine->setSoundVolume(0.3f);
    EXPECT_FLOAT_EQ(engine->getSoundVolume(), 0.3f);
    engine->setSoundVolume(4.0f);
    EXPECT_FLOAT_EQ(engine->getSoundVolume(), 1.0f);
    engine->setSoundVolume(-1.0f);
    EXPECT_FLOAT_EQ(engine->getSoundVolume(), 0.0f);
}

TEST_F(Sound, AMissingFileIsReportedAndNothingPlays) {
    testing::internal::CaptureStdout();
    engine->play2D("assets/music/none.mp3", true);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_NE(output.find("Cannot play assets/music/none.mp3"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
    EXPECT_FALSE(engine->isCurrentlyPlaying("assets/music/none.mp3"));
}

TEST_F(Sound, EveryEffectLoadsAndPlaysOnTheSilentDriver) {
    testing::internal::CaptureStdout();
    engine->loadEffects(kSounds);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (std::size_t i = 0; i < kSoundEffectCount; ++i) {
        const auto effect = static_cast<SoundEffect>(i);
        SCOPED_TRACE(i);
        EXPECT_TRUE(engine->isEffectLoaded(effect));
        engine->playEffect(effect);
        EXPECT_TRUE(engine->isEffectPlaying(effect));
    }
}

// Neither cut off while it plays nor refused a channel when it starts.
TEST_F(Sound, AVolleyNeverSilencesTheCraftsOwnShots) {
    engine->loadEffects(kSounds);
    engine->playEffect(SoundEffect::HeavyShot);  // 0.9 s long
    for (int i = 0; i < 40; ++i) {
        engine->playEffect(SoundEffect::BossShot);
        engine->playEffect(SoundEffect::ShieldHit);
    }
    engine->playEffect(SoundEffect::PrimaryShot);
    EXPECT_TRUE(engine->isEffectPlaying(SoundEffect::HeavyShot));
    EXPECT_TRUE(engine->isEffectPlaying(SoundEffect::PrimaryShot));
}

TEST_F(Sound, TheWarningLoopsUntilItIsLetGoAndStopAllSilencesTheEffects) {
    engine->loadEffects(kSounds);
    engine->loopEffect(SoundEffect::MissileWarning, true);
    waitSeconds(0.6);  // more than twice the length of the warning
    EXPECT_TRUE(engine->isEffectPlaying(SoundEffect::MissileWarning));
    engine->loopEffect(SoundEffect::MissileWarning, false);
    waitSeconds(0.5);  // the fade takes 60 ms
    EXPECT_FALSE(engine->isEffectPlaying(SoundEffect::MissileWarning));

    engine->playEffect(SoundEffect::BossDestroyed);
    engine->loopEffect(SoundEffect::MissileWarning, true);
    engine->stopAllSounds();
    EXPECT_FALSE(engine->isEffectPlaying(SoundEffect::BossDestroyed));
    EXPECT_FALSE(engine->isEffectPlaying(SoundEffect::MissileWarning));
}

// Every game sound cut in half (its data shorter than its header says) still plays what
// is there, after one line naming it; a missing one is named and stays silent.
TEST_F(Sound, DamagedEffectFilesAreReportedOnceEach) {
    TempDir halves;
    for (const auto& entry : std::filesystem::directory_iterator(kSounds)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        halves.write(entry.path().filename().string(), bytes.substr(0, bytes.size() / 2));
    }
    struct Case { std::string folder; const char* said; bool plays; };
    const Case cases[] = {
        {"nowhere/", "Cannot load sound nowhere/shot_primary.wav", false},
        {halves.path().string() + "/", "shot_primary.wav is cut short: ", true},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStdout();
        engine->loadEffects(c.folder);
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_NE(output.find(c.said), std::string::npos) << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), static_cast<long>(kSoundEffectCount));
        engine->playEffect(SoundEffect::PrimaryShot);
        engine->loopEffect(SoundEffect::MissileWarning, true);
        EXPECT_EQ(engine->isEffectPlaying(SoundEffect::PrimaryShot), c.plays) << c.folder;
        EXPECT_EQ(engine->isEffectPlaying(SoundEffect::MissileWarning), c.plays) << c.folder;
        engine->stopAllSounds();
    }
}

// Without an audio device (as on CI) the automatic choice falls back to silence with one
// line; with a device it opens that. Either way the game gets an engine that plays.
TEST(SoundDevice, AutomaticChoiceAlwaysYieldsAPlayingEngine) {
    testing::internal::CaptureStdout();
    SoundEngine* engine = createIrrKlangDevice();
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_NE(engine, nullptr);
    if (engine->isSilent()) {
        EXPECT_NE(output.find("No audio device found"), std::string::npos) << output;
        EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
    }
    engine->play2D(kMusic, true);
    EXPECT_TRUE(engine->isCurrentlyPlaying(kMusic));
    engine->drop();
}

// An open audio output must not take over the terminal's signals: Ctrl+C and SIGTERM
// still end the game.
TEST(SoundDevice, TerminationSignalsStillEndTheProcess) {
    EXPECT_EXIT(
        {
            SoundEngine* engine = createIrrKlangDevice(SoundDriver::Null);
            if (!engine) std::exit(2);
            std::raise(SIGTERM);
            engine->drop();
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}
