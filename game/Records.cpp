#include "game/Records.h"

#include "framework/WholeReal.h"

#include <INIReader.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kSection = "records";
const char* const kBestWinKey = "best_win_seconds";

void note(const std::string& what) { std::cout << "Records: " << what << std::endl; }
void warn(const std::string& what) { std::cout << "WARNING: records: " << what << std::endl; }

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

fs::path withSuffix(fs::path path, const char* suffix) {
    path += suffix;
    return path;
}

// Written beside the file and renamed over it, so that a failure half-way leaves the
// old file whole. Returns what went wrong, or nothing.
std::optional<std::string> writeWhole(const fs::path& file, float bestSeconds) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) return error.message();
    const fs::path temporary = withSuffix(file, ".tmp");
    std::ofstream out(temporary, std::ios::trunc);
    if (!out) return std::string(std::strerror(errno));
    out << "[" << kSection << "]\n"
        << kBestWinKey << " = " << std::fixed << std::setprecision(3) << bestSeconds << "\n";
    out.close();
    if (!out) {
        fs::remove(temporary, error);
        return std::string("the write did not complete");
    }
    fs::rename(temporary, file, error);
    if (!error) return std::nullopt;
    fs::remove(temporary, error);
    return error.message();
}

}  // namespace

Records::Records(std::optional<fs::path> recordsFile) : file(std::move(recordsFile)) {
    if (file)
        load();
    else
        warn("neither XDG_DATA_HOME nor HOME is set; best times are kept for this session only.");
}

void Records::load() {
    std::error_code error;
    const bool present = fs::exists(*file, error);
    if (!present && !error) {
        note("no best time yet; the first win is kept in " + quoted(*file) + ".");
        return;
    }
    if (error || !fs::is_regular_file(*file, error)) return giveUpReading();
    const INIReader reader(file->string());
    if (reader.ParseError() < 0) return giveUpReading();
    if (reader.ParseError() > 0)
        return setAside("line " + std::to_string(reader.ParseError()) + " is not INI");
    if (!reader.HasValue(kSection, kBestWinKey))
        return setAside(std::string("it has no [") + kSection + "] " + kBestWinKey);
    const std::string text = reader.Get(kSection, kBestWinKey, "");
    const std::optional<double> value = wholeReal(text);
    const float seconds = value ? static_cast<float>(*value) : 0.0f;
    if (!(seconds > 0.0f) || !std::isfinite(seconds))
        return setAside(std::string(kBestWinKey) + " = \"" + text + "\" is not a positive time");
    best = seconds;
}

// A file that is there but cannot be read might still hold a good best: it is left alone,
// and nothing is written over it.
void Records::giveUpReading() {
    warn("cannot read " + quoted(*file) + "; best times are kept for this session only.");
    file.reset();
}

// Kept for a look, out of the way of the next write; never read again.
void Records::setAside(const std::string& why) {
    const fs::path aside = withSuffix(*file, ".damaged");
    std::error_code error;
    fs::rename(*file, aside, error);
    if (error)
        warn(quoted(*file) + " is damaged (" + why + ") and could not be set aside (" +
             error.message() + "); the next best time replaces it.");
    else
        warn(quoted(*file) + " is damaged (" + why + "); set aside as " + quoted(aside) + ".");
}

bool Records::offerWin(float seconds) {
    if (best && seconds >= *best) return false;
    best = seconds;
    save();
    return true;
}

void Records::save() {
    if (!file) return;
    const std::optional<std::string> failure = writeWhole(*file, *best);
    if (!failure || warnedAboutWriting) return;
    warn("cannot write " + quoted(*file) + " (" + *failure +
         "); the best time is kept for this session only.");
    warnedAboutWriting = true;
}

std::optional<fs::path> recordsFile(const char* xdgDataHome, const char* home) {
    const fs::path relative = fs::path("qex") / "records.ini";
    if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / relative;
    if (home && *home) return fs::path(home) / ".local" / "share" / relative;
    return std::nullopt;
}
