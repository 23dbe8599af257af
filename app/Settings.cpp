#include "app/Settings.h"

#include "framework/WholeReal.h"

#include <INIReader.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <type_traits>
#include <variant>

namespace {

// "render_scale" takes "auto" or a number; it fills two fields.
struct RenderScale {};

using Field = std::variant<int Settings::*, float Settings::*, bool Settings::*,
                           std::string Settings::*, RenderScale>;

struct Key {
    const char* section;
    const char* name;
    Field field;
    double least = 0.0;  ///< inclusive range of a number
    double most = 0.0;
};

constexpr double kLargestWindowSide = 16384.0;  // pixels; also capped by the screen later
constexpr double kFarthestClipPlane = 1.0e6;
constexpr double kNearestClipPlane = 1.0e-4;

// Looked up in this order. Add a key with one row here and one field in Settings.
const Key kKeys[] = {
    {"window", "width", &Settings::width, 1.0, kLargestWindowSide},
    {"window", "height", &Settings::height, 1.0, kLargestWindowSide},
    {"window", "refresh_rate", &Settings::refreshRate, kLeastRefreshRate, kMostRefreshRate},
    {"window", "fullscreen", &Settings::fullscreen},
    {"window", "title", &Settings::title},
    {"camera", "fov", &Settings::fov, 1.0, 179.0},
    {"camera", "near", &Settings::nearPlane, kNearestClipPlane, kFarthestClipPlane},
    {"camera", "far", &Settings::farPlane, kNearestClipPlane, kFarthestClipPlane},
    {"window", "illuminationMultiplier", &Settings::illuminationMultiplier, 0.0, 10.0},
    {"window", "samples", &Settings::samples, 0.0, 16.0},
    {"window", "render_scale", RenderScale{}, 0.25, 1.0},
    {"camera", "screen_shake", &Settings::screenShake},
    {"sound", "music_volume", &Settings::musicVolume, 0.0, 1.0},
    {"sound", "effects_volume", &Settings::effectsVolume, 0.0, 1.0},
    {"gamepad", "enabled", &Settings::gamepadEnabled},
    {"gamepad", "deadzone", &Settings::gamepadDeadzone, 0.0, 0.9},
};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// strtol in base 0 keeps hexadecimal (0x400) and octal (0100) working; anything else
// that denotes a whole number, such as 1e3 or 800.0, is read as that number.
std::optional<double> wholeInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 0);
    if (*end == '\0' && errno == 0) return static_cast<double>(value);
    const std::optional<double> real = wholeReal(text);
    if (real && std::floor(*real) == *real) return real;
    return std::nullopt;
}

std::optional<bool> wholeBoolean(const std::string& text) {
    const std::string word = lowerCase(text);
    if (word == "true" || word == "yes" || word == "on" || word == "1") return true;
    if (word == "false" || word == "no" || word == "off" || word == "0") return false;
    return std::nullopt;
}

template <typename T>
std::string shown(const T& value) {
    std::ostringstream out;
    if constexpr (std::is_same_v<T, bool>)
        out << (value ? "true" : "false");
    else
        out << value;
    return out.str();
}

void warnAboutValue(const Key& key, const std::string& text, const std::string& problem,
                    const std::string& fallback) {
    std::cout << "WARNING: settings: [" << key.section << "] " << key.name << " = \"" << text
              << "\" " << problem << "; using " << fallback << " instead." << std::endl;
}

std::string rangeOf(const Key& key) {
    return "a number from " + shown(key.least) + " to " + shown(key.most);
}

bool inRange(const Key& key, double value) { return value >= key.least && value <= key.most; }

// Each read takes the key's text and either stores the value or warns and keeps the default.
void read(const Key& key, const std::string& text, int Settings::*field, Settings& s) {
    const std::optional<double> value = wholeInteger(text);
    if (value && inRange(key, *value))
        s.*field = static_cast<int>(*value);
    else
        warnAboutValue(key, text, "is not " + rangeOf(key), shown(s.*field));
}

void read(const Key& key, const std::string& text, float Settings::*field, Settings& s) {
    const std::optional<double> value = wholeReal(text);
    if (value && inRange(key, *value))
        s.*field = static_cast<float>(*value);
    else
        warnAboutValue(key, text, "is not " + rangeOf(key), shown(s.*field));
}

void read(const Key& key, const std::string& text, bool Settings::*field, Settings& s) {
    if (const std::optional<bool> value = wholeBoolean(text))
        s.*field = *value;
    else
        warnAboutValue(key, text, "is not true or false", shown(s.*field));
}

void read(const Key&, const std::string& text, std::string Settings::*field, Settings& s) {
    s.*field = text;
}

void read(const Key& key, const std::string& text, RenderScale, Settings& s) {
    if (lowerCase(text) == "auto") {
        s.autoRenderScale = true;
        return;
    }
    const std::optional<double> value = wholeReal(text);
    if (value && inRange(key, *value)) {
        s.autoRenderScale = false;
        s.renderScale = static_cast<float>(*value);
    } else {
        warnAboutValue(key, text, "is neither \"auto\" nor " + rangeOf(key), "\"auto\"");
    }
}

// A near plane at or beyond the far plane leaves nothing to see.
void keepClipPlanesInOrder(Settings& s) {
    if (s.nearPlane < s.farPlane) return;
    const Settings defaults;
    std::cout << "WARNING: settings: [camera] near = " << s.nearPlane
              << " is not closer than far = " << s.farPlane << "; using near = "
              << defaults.nearPlane << " and far = " << defaults.farPlane << " instead."
              << std::endl;
    s.nearPlane = defaults.nearPlane;
    s.farPlane = defaults.farPlane;
}

void reportMissingFile(const std::string& path) {
    std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead."
              << std::endl;
}

}  // namespace

Settings loadSettings(const std::string& path) {
    Settings s;
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        reportMissingFile(path);
        return s;
    }
    const INIReader reader(path);
    if (reader.ParseError() < 0) reportMissingFile(path);
    if (reader.ParseError() > 0)
        std::cout << "WARNING: settings: line " << reader.ParseError() << " of '" << path
                  << "' is not a section, a key = value pair or a comment; it is skipped."
                  << std::endl;

    for (const Key& key : kKeys) {
        if (!reader.HasValue(key.section, key.name)) continue;
        const std::string text = reader.Get(key.section, key.name, "");
        std::visit([&](auto field) { read(key, text, field, s); }, key.field);
    }
    keepClipPlanesInOrder(s);
    s.windowedWidth = s.width;
    s.windowedHeight = s.height;
    return s;
}

// Full screen at start leaves the windowed size to the second F6: it must fit as well.
void fitToScreen(Settings& s, int screenWidth, int screenHeight) {
    if (s.width <= screenWidth && s.height <= screenHeight) return;
    const int width = std::min(s.width, screenWidth);
    const int height = std::min(s.height, screenHeight);
    std::cout << "WARNING: settings: a " << s.width << "x" << s.height << " window does not fit the "
              << screenWidth << "x" << screenHeight << " screen; using " << width << "x" << height
              << " instead." << std::endl;
    s.width = s.windowedWidth = width;
    s.height = s.windowedHeight = height;
}
