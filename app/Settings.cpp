#include "app/Settings.h"

#include <INIReader.h>

#include <iostream>

namespace {

// A frame budget of 1 / rate seconds means nothing for a rate of zero or less: the
// loop would either never draw or draw on every pass.
int sanitizedRefreshRate(int requested) {
    if (requested > 0) return requested;
    std::cout << "WARNING: refresh_rate must be greater than 0 (got " << requested
              << "); using " << kDefaultRefreshRate << " instead." << std::endl;
    return kDefaultRefreshRate;
}

}  // namespace

Settings loadSettings(const std::string& path) {
    const INIReader reader(path);
    if (reader.ParseError() < 0)
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
                  << std::endl;

    const Settings defaults;
    Settings s;
    s.width = static_cast<int>(reader.GetInteger("window", "width", defaults.width));
    s.height = static_cast<int>(reader.GetInteger("window", "height", defaults.height));
    s.windowedWidth = s.width;
    s.windowedHeight = s.height;
    s.refreshRate = sanitizedRefreshRate(
        static_cast<int>(reader.GetInteger("window", "refresh_rate", defaults.refreshRate)));
    s.fullscreen = reader.GetBoolean("window", "fullscreen", defaults.fullscreen);
    s.title = reader.Get("window", "title", defaults.title);
    s.fov = static_cast<float>(reader.GetReal("camera", "fov", defaults.fov));
    s.nearPlane = static_cast<float>(reader.GetReal("camera", "near", defaults.nearPlane));
    s.farPlane = static_cast<float>(reader.GetReal("camera", "far", defaults.farPlane));
    s.illuminationMultiplier = static_cast<float>(
        reader.GetReal("window", "illuminationMultiplier", defaults.illuminationMultiplier));
    return s;
}
