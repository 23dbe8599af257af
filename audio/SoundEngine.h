#pragma once

#include "audio/EffectPlayer.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct _Mix_Music;
struct Mix_Chunk;

/// Which output the engine opens.
enum class SoundDriver {
    AutoDetect,  ///< the system's audio device; the silent driver when there is none
    Null,        ///< the silent driver: everything plays, nothing is heard
};

/// The game's sound engine: streams one piece of music at a time (MP3, or anything else
/// SDL_mixer decodes) to the audio device, once or looped, under a master volume, and
/// plays the sound effects beside it on mixer channels of their own under the effects
/// volume. A switch of music fades the old piece out, then the new one in.
///
/// Every piece of music stays open once it has been played or loaded, so switching back
/// and forth (title, match, title) opens no file again.
///
/// The effects are loaded once, before the first frame, and kept in memory: playing one
/// reads no file and allocates nothing. The craft's own sounds have channels that nothing
/// else takes, so a volley of the boss's never cuts them off; within its channels an
/// effect that finds none free replaces the one that started longest ago.
///
/// Made by createIrrKlangDevice() and released with drop(), never deleted directly. Uses
/// only SDL's audio subsystem (GLFW owns the window), so at most one engine exists at a
/// time. SDL_mixer mixes on a thread of its own; every call here comes from the thread that
/// made the engine. A file that cannot be played prints one line and is skipped.
class SoundEngine final : public EffectPlayer {
public:
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    /// Starts `file` (a path, used as given) from its beginning at once, replacing any
    /// music playing; `looped` repeats it until it is stopped.
    void play2D(const std::string& file, bool looped);
    /// Opens `file` for later plays. Returns false, with one line, when it cannot be played.
    bool loadMusic(const std::string& file);
    /// Switches the music to `file`, looped, over `fadeSeconds` in all: the music playing
    /// fades out over the first half, then `file` fades in from its beginning over the
    /// second (over the whole time when nothing plays). Asking for the piece that already
    /// plays leaves it playing. The new piece starts in update(), once the old has faded.
    /// A piece opened before allocates nothing.
    void playMusic(std::string_view file, float fadeSeconds);
    /// Call once a frame: starts the music that waits for the last piece to fade out.
    /// Reads no file and allocates nothing.
    void update();
    /// Master volume of the music, 0 (silent) to 1 (full); applies to what plays now and
    /// later. The effects have their own (setEffectsVolume).
    void setSoundVolume(float volume);
    float getSoundVolume() const { return volume; }
    /// Stops the music (and any switch under way) and every effect; a later play2D or
    /// playMusic starts again from the beginning.
    void stopAllSounds();

    /// Loads the file of every effect from `folder` (which ends in a slash). A file that
    /// cannot be loaded prints one line, and that effect stays silent.
    void loadEffects(const std::string& folder = "assets/sounds/");
    bool isEffectLoaded(SoundEffect effect) const;
    /// Volume of every effect, 0 (silent) to 1 (full), on top of each effect's own level.
    void setEffectsVolume(float volume);
    void playEffect(SoundEffect effect) override;
    void loopEffect(SoundEffect effect, bool looping) override;
    /// Whether `effect` plays on some channel right now (a fading loop included).
    bool isEffectPlaying(SoundEffect effect) const;
    /// Whether `file` is the music playing right now.
    bool isCurrentlyPlaying(std::string_view file) const;
    /// Seconds into the music playing now, or -1 when nothing plays.
    double playPosition() const;
    /// True when the output is the silent driver.
    bool isSilent() const { return silent; }

    /// Stops everything, closes the audio device and destroys the engine.
    void drop();

private:
    friend SoundEngine* createIrrKlangDevice(SoundDriver driver);
    explicit SoundEngine(bool silentOutput);
    ~SoundEngine();
    void releaseMusic();
    /// The index of `file` in `tracks`, opened now if it is not yet; -1, with one line, when
    /// it cannot be played.
    int trackOf(std::string_view file);
    void fadeIn(int track, int milliseconds);
    void releaseEffects();
    Mix_Chunk* chunk(SoundEffect effect) const { return effects[static_cast<std::size_t>(effect)]; }

    bool silent;
    float volume = 1.0f;
    struct MusicTrack {
        std::string file;
        _Mix_Music* stream;  ///< owned
    };
    std::vector<MusicTrack> tracks;  ///< every piece opened so far
    int playingTrack = -1;  ///< index in `tracks` of the piece started last, or -1
    int waitingTrack = -1;  ///< index of the piece to fade in once `playingTrack` is quiet
    int waitingFadeMs = 0;
    std::array<Mix_Chunk*, kSoundEffectCount> effects{};  ///< owned; null where a file failed
};

/// Opens the audio output and returns the engine, or null when not even the silent driver
/// can be opened. Without an audio device it prints one line and falls back to the silent
/// driver, so the game plays on without sound.
SoundEngine* createIrrKlangDevice(SoundDriver driver = SoundDriver::AutoDetect);
