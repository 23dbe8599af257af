#include "audio/SoundEngine.h"

#include "audio/WavData.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <iterator>
#include <utility>

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

// The mixer's channels, in groups that never take each other's channels.
enum ChannelGroup { kWarningGroup, kCraftGroup, kWorldGroup };
struct ChannelRange {
    int first;
    int last;
};
constexpr ChannelRange kChannels[] = {
    {0, 0},   // the missile warning loops on a channel of its own
    {1, 6},   // the craft's shots, reloads and hits
    {7, 23},  // the boss, the shield, the explosions and the stingers
};
constexpr int kChannelCount = kChannels[kWorldGroup].last + 1;
constexpr int kLoopForever = -1;
constexpr int kLoopFadeMs = 60;  // the warning tails off rather than clicking off

// One row per effect, in the order of SoundEffect: its file under the sound folder, whose
// channels it takes, and its level in the mix (the frequent shots sit lower).
struct EffectRow {
    SoundEffect effect;
    const char* file;
    ChannelGroup group;
    float level;  ///< 0..1
};
constexpr EffectRow kEffectRows[] = {
    {SoundEffect::PrimaryShot, "shot_primary.wav", kCraftGroup, 0.45f},
    {SoundEffect::HeavyShot, "shot_heavy.wav", kCraftGroup, 0.9f},
    {SoundEffect::BossShot, "boss_shot.wav", kWorldGroup, 0.4f},
    {SoundEffect::MissileLaunch, "missile_launch.wav", kWorldGroup, 0.6f},
    {SoundEffect::MissileWarning, "missile_warning.wav", kWarningGroup, 0.4f},
    {SoundEffect::BossHit, "boss_hit.wav", kWorldGroup, 0.6f},
    {SoundEffect::ShieldHit, "shield_hit.wav", kWorldGroup, 0.5f},
    {SoundEffect::CraftHit, "craft_hit.wav", kCraftGroup, 0.9f},
    {SoundEffect::Reload, "reload.wav", kCraftGroup, 0.5f},
    {SoundEffect::EmptyMagazine, "magazine_empty.wav", kCraftGroup, 0.6f},
    {SoundEffect::ShieldUp, "shield_up.wav", kWorldGroup, 0.5f},
    {SoundEffect::ShieldDown, "shield_down.wav", kWorldGroup, 0.5f},
    {SoundEffect::BossDestroyed, "boss_destroyed.wav", kWorldGroup, 1.0f},
    {SoundEffect::CraftDestroyed, "craft_destroyed.wav", kWorldGroup, 1.0f},
    {SoundEffect::WinStinger, "win.wav", kWorldGroup, 0.8f},
    {SoundEffect::LoseStinger, "lose.wav", kWorldGroup, 0.8f},
};
constexpr bool rowsFollowTheEffects() {
    for (std::size_t i = 0; i < std::size(kEffectRows); ++i)
        if (static_cast<std::size_t>(kEffectRows[i].effect) != i) return false;
    return std::size(kEffectRows) == kSoundEffectCount;
}
static_assert(rowsFollowTheEffects(), "one row per sound effect, in the order of SoundEffect");

const EffectRow& rowOf(SoundEffect effect) { return kEffectRows[static_cast<std::size_t>(effect)]; }

int mixerVolume(float fraction) { return static_cast<int>(std::lround(fraction * MIX_MAX_VOLUME)); }

int millisecondsIn(float seconds) { return std::max(0, static_cast<int>(std::lround(seconds * 1000.0f))); }

void groupChannels() {
    Mix_AllocateChannels(kChannelCount);
    for (int group = kWarningGroup; group <= kWorldGroup; ++group)
        Mix_GroupChannels(kChannels[group].first, kChannels[group].last, group);
}

// A free channel of the group, or else the one that started longest ago.
int channelFor(ChannelGroup group) {
    const int free = Mix_GroupAvailable(group);
    return free != -1 ? free : Mix_GroupOldest(group);
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
    groupChannels();
}

SoundEngine::~SoundEngine() {
    stopAllSounds();
    releaseMusic();
    releaseEffects();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundEngine::drop() { delete this; }

void SoundEngine::releaseMusic() {
    for (const MusicTrack& track : tracks) Mix_FreeMusic(track.stream);
    tracks.clear();
    playingTrack = -1;
    waitingTrack = -1;
}

void SoundEngine::releaseEffects() {
    for (Mix_Chunk*& effect : effects) {
        if (effect) Mix_FreeChunk(effect);
        effect = nullptr;
    }
}

int SoundEngine::trackOf(std::string_view file) {
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].file == file) return static_cast<int>(i);
    std::string path(file);
    Mix_Music* stream = Mix_LoadMUS(path.c_str());
    if (!stream) {
        std::cout << "Cannot play " << path << ": " << Mix_GetError() << std::endl;
        return -1;
    }
    tracks.push_back({std::move(path), stream});
    return static_cast<int>(tracks.size()) - 1;
}

void SoundEngine::play2D(const std::string& file, bool looped) {
    Mix_HaltMusic();
    waitingTrack = -1;
    playingTrack = trackOf(file);
    if (playingTrack == -1) return;
    // SDL_mixer counts plays: -1 repeats forever, 0 plays once.
    if (Mix_PlayMusic(tracks[playingTrack].stream, looped ? kLoopForever : 0) != 0)
        std::cout << "Cannot play " << file << ": " << Mix_GetError() << std::endl;
}

bool SoundEngine::loadMusic(const std::string& file) { return trackOf(file) != -1; }

void SoundEngine::playMusic(std::string_view file, float fadeSeconds) {
    const int track = trackOf(file);
    if (track == -1) return;
    const bool fadingOut = Mix_FadingMusic() == MIX_FADING_OUT;
    if (Mix_PlayingMusic() == 0) {
        fadeIn(track, millisecondsIn(fadeSeconds));
    } else if (track == playingTrack && !fadingOut) {
        waitingTrack = -1;
    } else {
        // SDL_mixer streams one piece at a time: the new one waits for the old to go quiet.
        waitingFadeMs = millisecondsIn(fadeSeconds / 2.0f);
        if (!fadingOut) Mix_FadeOutMusic(waitingFadeMs);
        waitingTrack = track;
    }
}

void SoundEngine::update() {
    if (waitingTrack == -1 || Mix_PlayingMusic() != 0) return;
    fadeIn(waitingTrack, waitingFadeMs);
}

void SoundEngine::fadeIn(int track, int milliseconds) {
    waitingTrack = -1;
    playingTrack = track;
    if (Mix_FadeInMusic(tracks[track].stream, kLoopForever, milliseconds) != 0)
        std::cout << "Cannot play " << tracks[track].file << ": " << Mix_GetError() << std::endl;
}

void SoundEngine::setSoundVolume(float newVolume) {
    volume = std::clamp(newVolume, 0.0f, 1.0f);
    Mix_VolumeMusic(static_cast<int>(std::lround(volume * MIX_MAX_VOLUME)));
}

void SoundEngine::stopAllSounds() {
    Mix_HaltMusic();
    waitingTrack = -1;
    Mix_HaltChannel(-1);
}

void SoundEngine::loadEffects(const std::string& folder) {
    Mix_HaltChannel(-1);  // a chunk must not be freed while a channel plays it
    releaseEffects();
    for (const EffectRow& row : kEffectRows) {
        const std::string path = folder + row.file;
        Mix_Chunk* loaded = Mix_LoadWAV(path.c_str());
        if (!loaded) {
            std::cout << "Cannot load sound " << path << ": " << Mix_GetError() << std::endl;
            continue;
        }
        reportCutShortWav(path);
        Mix_VolumeChunk(loaded, mixerVolume(row.level));
        effects[static_cast<std::size_t>(row.effect)] = loaded;
    }
}

bool SoundEngine::isEffectLoaded(SoundEffect effect) const { return chunk(effect) != nullptr; }

void SoundEngine::setEffectsVolume(float newVolume) { Mix_Volume(-1, mixerVolume(std::clamp(newVolume, 0.0f, 1.0f))); }

void SoundEngine::playEffect(SoundEffect effect) {
    Mix_Chunk* sound = chunk(effect);
    if (!sound) return;
    const int channel = channelFor(rowOf(effect).group);
    if (channel != -1) Mix_PlayChannel(channel, sound, 0);
}

void SoundEngine::loopEffect(SoundEffect effect, bool looping) {
    Mix_Chunk* sound = chunk(effect);
    if (!sound) return;
    const int channel = kChannels[rowOf(effect).group].first;
    const bool playing = Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == sound;
    const bool fading = playing && Mix_FadingChannel(channel) == MIX_FADING_OUT;
    if (looping && (!playing || fading))
        Mix_PlayChannel(channel, sound, kLoopForever);
    else if (!looping && playing && !fading)
        Mix_FadeOutChannel(channel, kLoopFadeMs);
}

bool SoundEngine::isEffectPlaying(SoundEffect effect) const {
    Mix_Chunk* sound = chunk(effect);
    if (!sound) return false;
    for (int channel = 0; channel < kChannelCount; ++channel)
        if (Mix_Playing(channel) != 0 && Mix_GetChunk(channel) == sound) return true;
    return false;
}

bool SoundEngine::isCurrentlyPlaying(std::string_view file) const {
    return playingTrack != -1 && file == tracks[playingTrack].file && Mix_PlayingMusic() != 0;
}

double SoundEngine::playPosition() const {
    if (playingTrack == -1 || Mix_PlayingMusic() == 0) return -1.0;
    return Mix_GetMusicPosition(tracks[playingTrack].stream);
}
