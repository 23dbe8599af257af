#pragma once

#include "support/GameProcess.h"
#include "support/PrivateDisplay.h"
#include "support/Screenshot.h"
#include "support/TempFiles.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>

/// The real game binary started in a fresh copy of the build's assets, on an X server
/// of its own, and seen from outside the way a player sees it: its window is found by
/// title and process, photographed with ImageMagick's import and driven with xdotool
/// (events sent to the window itself, so neither focus nor a window manager matters).
/// The game and its server are killed when the object goes.
class RunningGame {
public:
    using WindowSettings = std::map<std::string, std::string>;  ///< key -> value

    /// Starts the game and waits up to `windowTimeout` seconds for its window. Each entry of
    /// `windowSettings` sets that key of the [window] section in the game's settings file.
    explicit RunningGame(const WindowSettings& windowSettings = {}, double windowTimeout = 60.0);

    /// False when the X server or the game's window did not come up in time.
    bool hasWindow() const { return !windowId.empty(); }
    /// Everything the game wrote to standard output and standard error so far.
    std::string output() const { return process.output(); }
    /// Whether the game's debug output reported an OpenGL message of type Error.
    bool reportedOpenGlErrors() const;

    Screenshot screenshot() const;
    /// Waits until the HUD's boss health bar is on screen, which happens with the first
    /// drawn frame, and returns that screenshot; an empty one after `seconds`.
    Screenshot waitForFirstFrame(double seconds) const;
    /// Whether the boss's health bar spans its whole place across the top of `shot`.
    static bool showsFullBossHealthBar(const Screenshot& shot);
    /// Left clicks, `delayMs` apart: a click only fires when a frame is drawn in between.
    void click(int count, int delayMs) const;
    void pressKey(const std::string& key) const;
    void holdKey(const std::string& key) const;
    void releaseKey(const std::string& key) const;
    void resize(int width, int height) const;
    /// The window's inner size as xwininfo reports it; (0, 0) when it cannot tell.
    std::pair<int, int> size() const;

private:
    static const std::filesystem::path& withBuildAssets(
        const TempDir& directory, const WindowSettings& windowSettings);
    /// Runs an X client such as xdotool on the game's display and returns its output.
    std::string onDisplay(const std::string& command) const;

    // Torn down in reverse: the game goes before its directory and its X server.
    PrivateDisplay display;
    TempDir dir;
    GameProcess process;
    std::string windowId;
};

/// The id of the window titled `title` that process `processId` mapped on `display`
/// (the test's own DISPLAY when empty), or "" after `seconds`. The title alone is not
/// enough: tests that run at the same time on one display each start a game window of
/// the same title.
std::string waitForWindow(const std::string& title, double seconds, int processId,
                          const std::string& display = std::string());
