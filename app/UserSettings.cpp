#include "app/UserSettings.h"

#include "framework/WholeFile.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string number(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

const char* yesOrNo(bool value) { return value ? "true" : "false"; }

// The keys the options screen sets, written in this order.
struct SavedKey {
    const char* section;
    const char* name;
    std::string (*value)(const Settings&);
};
const SavedKey kSavedKeys[] = {
    {"sound", "music_volume", [](const Settings& s) { return number(s.musicVolume); }},
    {"sound", "effects_volume", [](const Settings& s) { return number(s.effectsVolume); }},
    {"window", "render_scale",
     [](const Settings& s) { return s.autoRenderScale ? std::string("auto") : number(s.renderScale); }},
    {"window", "fullscreen", [](const Settings& s) { return std::string(yesOrNo(s.fullscreen)); }},
    {"camera", "screen_shake", [](const Settings& s) { return std::string(yesOrNo(s.screenShake)); }},
};

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string sectionOf(const std::string& line) {
    const std::string text = trimmed(line);
    if (text.size() < 2 || text.front() != '[') return std::string();
    const std::size_t end = text.find(']');
    return end == std::string::npos ? std::string() : lowerCase(trimmed(text.substr(1, end - 1)));
}

// The key a "name = value" line sets, or nothing for any other line.
std::string keyOf(const std::string& line) {
    const std::string text = trimmed(line);
    const std::size_t separator = text.find_first_of("=:");
    if (text.empty() || text[0] == ';' || text[0] == '#' || separator == std::string::npos)
        return std::string();
    return lowerCase(trimmed(text.substr(0, separator)));
}

struct Line {
    std::string text;
    std::string section;  ///< lower case; empty before the first section
};

std::vector<Line> linesOf(const std::string& text) {
    std::vector<Line> lines;
    std::istringstream in(text);
    std::string section;
    for (std::string line; std::getline(in, line);) {
        const std::string opened = sectionOf(line);
        if (!opened.empty()) section = opened;
        lines.push_back({line, section});
    }
    return lines;
}

bool sets(const Line& line, const SavedKey& key) {
    return line.section == key.section && keyOf(line.text) == key.name;
}

// The key's first line takes the new value, and any repeat goes: the reader would join
// repeats into one bad value. A key the file lacks follows the last line of its section,
// or opens that section at the end.
void setKey(std::vector<Line>& lines, const SavedKey& key, const std::string& value) {
    const Line wanted{std::string(key.name) + " = " + value, key.section};
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [&](const Line& line) { return sets(line, key); });
    if (first != lines.end()) {
        *first = wanted;
        lines.erase(std::remove_if(std::next(first), lines.end(),
                                   [&](const Line& line) { return sets(line, key); }),
                    lines.end());
        return;
    }
    const auto last = std::find_if(lines.rbegin(), lines.rend(), [&](const Line& line) {
        return line.section == key.section && !trimmed(line.text).empty();
    });
    if (last != lines.rend()) {
        lines.insert(last.base(), wanted);
        return;
    }
    if (!lines.empty() && !trimmed(lines.back().text).empty()) lines.push_back({"", ""});
    lines.push_back({"[" + std::string(key.section) + "]", key.section});
    lines.push_back(wanted);
}

std::string textOf(const std::vector<Line>& lines) {
    std::string text;
    for (const Line& line : lines) text += line.text + '\n';
    return text;
}

void warnAboutSaving(const fs::path& file, const std::string& what, const std::error_code& error) {
    std::cout << "WARNING: settings: cannot " << what << " '" << file.string() << "' ("
              << error.message() << "); the options last for this session only." << std::endl;
}

}  // namespace

std::optional<fs::path> userSettingsFile(const char* xdgConfigHome, const char* home) {
    const fs::path relative = fs::path("qex") / "settings.ini";
    if (xdgConfigHome && *xdgConfigHome && fs::path(xdgConfigHome).is_absolute())
        return fs::path(xdgConfigHome) / relative;
    if (home && *home) return fs::path(home) / ".config" / relative;
    return std::nullopt;
}

bool saveUserSettings(const fs::path& file, const Settings& s) {
    std::string old;
    std::error_code error = readWholeFile(file, old);
    if (error && error != std::errc::no_such_file_or_directory) {
        warnAboutSaving(file, "read", error);  // writing would lose what the file holds
        return false;
    }
    std::vector<Line> lines = linesOf(old);
    for (const SavedKey& key : kSavedKeys) setKey(lines, key, key.value(s));
    error = replaceWholeFile(file, textOf(lines));
    if (error) warnAboutSaving(file, "write", error);
    return !error;
}
