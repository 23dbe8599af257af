#include "app/Settings.h"

#include "framework/WholeFile.h"
#include "framework/WholeReal.h"

#include <INIReader.h>
#include <ini.h>

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

// inih reads each line into a buffer of INI_MAX_LINE bytes that also holds the line's end
// and a terminating zero. A longer line is cut, and its rest read as a line of its own,
// which puts every later line number off.
constexpr std::size_t kLongestLine = INI_MAX_LINE - 2;  // characters, a '\r' included

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

void warnAboutLine(const std::string& path, std::size_t number, const std::string& problem) {
    std::cout << "WARNING: settings: line " << number << " of '" << path << "' " << problem
              << "; it is skipped." << std::endl;
}

// What inih would make of a line that is too long for it: a comment of its own or at its
// end goes, since inih drops it anyway; nothing else can be kept.
std::optional<std::string> shortened(const std::string& line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == ';' || line[start] == '#') return "";
    for (std::size_t i = 1; i < line.size(); ++i)
        if (line[i] == ';' && std::isspace(static_cast<unsigned char>(line[i - 1]))) {
            const std::string kept = line.substr(0, line.find_last_not_of(" \t", i - 1) + 1);
            if (kept.size() <= kLongestLine) return kept;
            break;
        }
    return std::nullopt;
}

// The text inih is given: every line it could not read whole (too long, or holding a NUL
// byte, which would end its reading early) shortened or left empty, with a warning for
// each one skipped. No line is removed, so inih's line numbers stay those of the file.
std::string readableLines(const std::string& text, const std::string& path) {
    std::string readable;
    std::istringstream lines(text);
    std::size_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (line.find('\0') != std::string::npos) {
            warnAboutLine(path, number, "holds a NUL byte");
            line.clear();
        } else if (line.size() > kLongestLine) {
            const std::optional<std::string> kept = shortened(line);
            if (!kept)
                warnAboutLine(path, number,
                              "is longer than " + std::to_string(kLongestLine) + " characters");
            line = kept.value_or("");
        }
        readable += line + '\n';
    }
    return readable;
}

// Reads `path` over `s`, key by key. The error says why the file could not be read.
std::error_code readOver(const std::filesystem::path& path, Settings& s) {
    std::string text;
    if (const std::error_code error = readWholeFile(path, text)) return error;
    const std::string readable = readableLines(text, path.string());
    const INIReader reader(readable.data(), readable.size());
    if (reader.ParseError() > 0)
        warnAboutLine(path.string(), static_cast<std::size_t>(reader.ParseError()),
                      "is not a section, a key = value pair or a comment");

    for (const Key& key : kKeys) {
        if (!reader.HasValue(key.section, key.name)) continue;
        const std::string value = reader.Get(key.section, key.name, "");
        std::visit([&](auto field) { read(key, value, field, s); }, key.field);
    }
    return {};
}

Settings finished(Settings s) {
    keepClipPlanesInOrder(s);
    s.windowedWidth = s.width;
    s.windowedHeight = s.height;
    return s;
}

}  // namespace

Settings loadSettings(const std::string& path) {
    Settings s;
    if (readOver(path, s)) reportMissingFile(path);
    return finished(s);
}

Settings loadSettings(const std::string& shippedPath,
                      const std::optional<std::filesystem::path>& userFile) {
    Settings s = loadSettings(shippedPath);
    if (!userFile) return s;
    const std::error_code error = readOver(*userFile, s);
    if (error && error != std::errc::no_such_file_or_directory)
        std::cout << "WARNING: settings: cannot read '" << userFile->string() << "' ("
                  << error.message() << "); using the shipped settings." << std::endl;
    return finished(s);
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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
