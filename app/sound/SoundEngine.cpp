#include "app/sound/SoundEngine.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

constexpr int kOutputRate = 44100;  // Hz, the music's own rate: no resampling
constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 2048;  // about 46 ms per mix: small enough, safe from underruns
// SDL's driver that plays everything into nothing; it keeps time like a real device.
const char* const kSilentDriver = "dummy";

// `driver` null lets SDL pick the system's device.
bool openAudio(const char* driver) {
    // SDL would turn SIGINT and SIGTERM into quit events that nobody reads, and the game
    // could then no longer be stopped from the terminal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (driver)
        SDL_SetHint(SDL_HINT_AUDIODRIVER, driver);
    else
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(kOutputRate, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkFrames, nullptr,
                            SDL_AUDIO_ALLOW_ANY_CHANGE) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

}  // namespace

SoundEngine* createIrrKlangDevice(SoundDriver driver) {
    const bool silent = driver == SoundDriver::Null;
    if (!silent && openAudio(nullptr)) return new SoundEngine(false);
    if (!silent) std::cout << "No audio device found (" << SDL_GetError() << "): playing without sound" << std::endl;
    if (openAudio(kSilentDriver)) return new SoundEngine(true);
    std::cout << "Cannot open even silent audio output: " << SDL_GetError() << std::endl;
    return nullptr;
}

SoundEngine::SoundEngine(bool silentOutput) : silent(silentOutput) {
    Mix_Init(MIX_INIT_MP3);
    Mix_VolumeMusic(MIX_MAX_VOLUME);
}

SoundEngine::~SoundEngine() {
    stopAllSounds();
    releaseMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundEngine::drop() { delete this; }

void SoundEngine::releaseMusic() {
    if (music) Mix_FreeMusic(music);
    music = nullptr;
    musicFile.clear();
}

void SoundEngine::play2D(const std::string& file, bool looped) {
    stopAllSounds();
    releaseMusic();
    music = Mix_LoadMUS(file.c_str());
    if (!music) {
        std::cout << "Cannot play " << file << ": " << Mix_GetError() << std::endl;
        return;
    }
    musicFile = file;
    // SDL_mixer counts plays: -1 repeats forever, 0 plays once.
    if (Mix_PlayMusic(music, looped ? -1 : 0) != 0) std::cout << "Cannot play " << file << ": " << Mix_GetError() << std::endl;
}

void SoundEngine::setSoundVolume(float newVolume) {
    volume = std::clamp(newVolume, 0.0f, 1.0f);
    Mix_VolumeMusic(static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
}

void SoundEngine::stopAllSounds() { Mix_HaltMusic(); }

bool SoundEngine::isCurrentlyPlaying(const std::string& file) const {
    return music && file == musicFile && Mix_PlayingMusic() != 0;
}

double SoundEngine::playPosition() const {
    if (!music || Mix_PlayingMusic() == 0) return -1.0;
    return Mix_GetMusicPosition(music);
}
