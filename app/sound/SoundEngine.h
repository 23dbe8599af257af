#pragma once

#include <string>

struct _Mix_Music;

/// Which output the engine opens.
enum class SoundDriver {
    AutoDetect,  ///< the system's audio device; the silent driver when there is none
    Null,        ///< the silent driver: everything plays, nothing is heard
};

/// The game's sound engine: streams one piece of music (MP3, or anything else SDL_mixer
/// decodes) to the audio device, once or looped, under a master volume.
///
/// Made by createIrrKlangDevice() and released with drop(), never deleted directly. Uses
/// only SDL's audio subsystem (GLFW owns the window), so at most one engine exists at a
/// time. SDL_mixer mixes on a thread of its own; every call here comes from the thread that
/// made the engine. A file that cannot be played prints one line and is skipped.
class SoundEngine {
public:
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    /// Starts `file` (a path, used as given) from its beginning, replacing any music
    /// playing; `looped` repeats it until it is stopped.
    void play2D(const std::string& file, bool looped);
    /// Master volume, 0 (silent) to 1 (full); applies to what plays now and later.
    void setSoundVolume(float volume);
    float getSoundVolume() const { return volume; }
    /// Stops the music; a later play2D starts again from the beginning.
    void stopAllSounds();
    /// Whether `file` is the music playing right now.
    bool isCurrentlyPlaying(const std::string& file) const;
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

    bool silent;
    float volume = 1.0f;
    _Mix_Music* music = nullptr;  ///< the stream of `musicFile`; owned
    std::string musicFile;
};

/// Opens the audio output and returns the engine, or null when not even the silent driver
/// can be opened. Without an audio device it prints one line and falls back to the silent
/// driver, so the game plays on without sound.
SoundEngine* createIrrKlangDevice(SoundDriver driver = SoundDriver::AutoDetect);
