#pragma once

#include <filesystem>
#include <optional>
#include <string>

/// The frame cap's accepted range, in drawn frames per second: for the settings file and
/// for digits typed in free-camera mode alike.
constexpr int kLeastRefreshRate = 1;
constexpr int kMostRefreshRate = 1000;

/// The window, camera, lighting, sound and gamepad settings, read once from the settings
/// file before the window exists. Every field has its default here; the file only
/// overrides, and every key's accepted range lives in the table in Settings.cpp.
struct Settings {
    int width = 800;        ///< pixels; rewritten by the window-size callback
    int height = 800;
    /// Pixels: the size F6 gives the window back when it leaves full screen. The
    /// configured size at first, then the size the window had when it last went full screen.
    int windowedWidth = 800;
    int windowedHeight = 800;
    int refreshRate = 60;   ///< drawn frames per second at most
    bool fullscreen = false;
    std::string title = "Qex";
    float illuminationMultiplier = 1.0f;  ///< brightens the directional light
    float fov = 60.0f;      ///< vertical field of view, degrees
    float nearPlane = 0.1f;
    float farPlane = 100.0f;

    int samples = 0;              ///< multisampling of the window itself; 0 = none
    bool autoRenderScale = true;  ///< "auto": the scale follows the frame budget
    float renderScale = 1.0f;     ///< fraction of the window's size the 3D scene is drawn at
    bool screenShake = true;      ///< the view shakes a little on hits taken
    float musicVolume = 0.3f;     ///< 0 (silent) to 1
    float effectsVolume = 0.6f;
    bool gamepadEnabled = true;
    float gamepadDeadzone = 0.2f;  ///< fraction of a stick's travel ignored around its centre
};

/// Shrinks the window's size, and the windowed size F6 comes back to, to a screen of
/// `screenWidth` x `screenHeight` pixels, with one WARNING line when it had to.
void fitToScreen(Settings& s, int screenWidth, int screenHeight);

/// `text` in lower case: sections, keys and words match in any case, as the INI reader
/// matches them.
std::string lowerCase(std::string text);

/// Reads `path` over the defaults. A missing file prints one line and keeps them all. A
/// syntax error, or a value that is not a number, has trailing text or is out of range,
/// prints one WARNING line and keeps the default of that key only. A line too long for
/// the INI reader (over 198 characters) loses its comment, or else is skipped with a
/// WARNING line; the line numbers of later warnings stay those of the file.
Settings loadSettings(const std::string& path = "assets/settings.ini");

/// The shipped file `shippedPath` as above, then the player's own `userFile` over it, key
/// by key, with the same checks and warnings: a bad value there keeps the shipped one. A
/// missing player's file is no fault; one that cannot be read gets a WARNING line.
Settings loadSettings(const std::string& shippedPath,
                      const std::optional<std::filesystem::path>& userFile);
