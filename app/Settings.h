#pragma once

#include <string>

/// The window, camera and lighting settings, read once from the settings file before
/// the window exists. Every field has its default here; the file only overrides.
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
};

constexpr int kDefaultRefreshRate = 60;

/// Reads `path` over the defaults. A missing file prints one line and keeps them all; a
/// malformed line or an unconvertible value keeps the default of that key only.
Settings loadSettings(const std::string& path = "assets/settings.ini");
