#include "game/Records.h"

#include "framework/WholeFile.h"
#include "framework/WholeReal.h"

#include <INIReader.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <iostream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

const char* const kSection = "records";

// Normal keeps the only key of the files written before there were difficulties.
struct BestWinKey {
    Difficulty difficulty;
    const char* name;
};
const BestWinKey kBestWinKeys[] = {
    {Difficulty::Easy, "best_win_seconds_easy"},
    {Difficulty::Normal, "best_win_seconds"},
    {Difficulty::Hard, "best_win_seconds_hard"},
};

// Damaged files kept for a look: ".damaged", then ".damaged.2" up to this.
constexpr int kMostDamagedFilesKept = 99;

void note(const std::string& what) { std::cout << "Records: " << what << std::endl; }
void warn(const std::string& what) { std::cout << "WARNING: records: " << what << std::endl; }

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

fs::path withSuffix(fs::path path, const std::string& suffix) {
    path += suffix;
    return path;
}

std::size_t slot(Difficulty difficulty) { return static_cast<std::size_t>(difficulty); }

// Held while the file is read and replaced, so that two games that win at the same time
// take turns and the second sees the first's time. Where no lock can be had (a folder
// that cannot be written) the game reads and writes without one, and so it does after
// two seconds: a game stopped while it holds the lock must not freeze another's match end.
class FileLock {
public:
    explicit FileLock(const fs::path& lockFile)
        : fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd < 0) return;
        for (int tries = 0; tries < kLockTries && ::flock(fd, LOCK_EX | LOCK_NB) != 0; ++tries)
            std::this_thread::sleep_for(kLockRetry);
    }
    ~FileLock() {
        if (fd >= 0) ::close(fd);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    static constexpr std::chrono::milliseconds kLockRetry{10};
    static constexpr int kLockTries = 200;  // two seconds in all
    int fd;
};

fs::path lockFileOf(const fs::path& file) { return withSuffix(file, ".lock"); }

std::string formatted(float seconds) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(3);
    out << seconds;
    return out.str();
}

// The first name among "<file>.damaged", "<file>.damaged.2", ... that nothing has taken.
fs::path freeDamagedName(const fs::path& file) {
    const fs::path first = withSuffix(file, ".damaged");
    std::error_code error;
    if (!fs::exists(first, error)) return first;
    for (int n = 2; n < kMostDamagedFilesKept; ++n) {
        const fs::path numbered = withSuffix(first, "." + std::to_string(n));
        if (!fs::exists(numbered, error)) return numbered;
    }
    return withSuffix(first, "." + std::to_string(kMostDamagedFilesKept));
}

}  // namespace

Records::Records(std::optional<fs::path> recordsFile) : file(std::move(recordsFile)) {
    if (!file) {
        warn("neither XDG_DATA_HOME nor HOME is set; best times are kept for this session only.");
        return;
    }
    const FileLock lock(lockFileOf(*file));
    if (!readFile())
        note("no best time yet; the first win is kept in " + quoted(*file) + ".");
}

// Every time on file counts as a best too. Gives up on a file that cannot be read and
// sets a damaged one aside, each with its line. False when there is no file yet.
bool Records::readFile() {
    std::error_code error;
    const bool present = fs::exists(*file, error);
    if (!present && !error) return false;
    if (error || !fs::is_regular_file(*file, error)) {
        giveUpReading();
        return true;
    }
    const INIReader reader(file->string());
    if (reader.ParseError() < 0) {
        giveUpReading();
        return true;
    }
    Bests found;
    if (const std::optional<std::string> damage = damageIn(reader, found)) {
        setAside(*damage);
        return true;
    }
    for (std::size_t i = 0; i < best.size(); ++i)
        if (found[i] && (!best[i] || *found[i] < *best[i])) best[i] = found[i];
    return true;
}

// What is wrong with the file, or nothing when every time in it is one to trust.
std::optional<std::string> Records::damageIn(const INIReader& reader, Bests& found) {
    if (reader.ParseError() > 0)
        return "line " + std::to_string(reader.ParseError()) + " is not INI";
    for (const BestWinKey& key : kBestWinKeys) {
        if (!reader.HasValue(kSection, key.name)) continue;
        const std::string text = reader.Get(kSection, key.name, "");
        const std::optional<double> value = wholeReal(text);
        const float seconds = value ? static_cast<float>(*value) : 0.0f;
        if (!(seconds > 0.0f) || !std::isfinite(seconds))
            return std::string(key.name) + " = \"" + text + "\" is not a positive time";
        found[slot(key.difficulty)] = seconds;
    }
    for (const std::optional<float>& seconds : found)
        if (seconds) return std::nullopt;
    return std::string("it has no best time in [") + kSection + "]";
}

// A file that is there but cannot be read might still hold a good best: it is left alone,
// and nothing is written over it.
void Records::giveUpReading() {
    warn("cannot read " + quoted(*file) + "; best times are kept for this session only.");
    file.reset();
}

// Kept for a look, out of the way of the next write; never read again.
void Records::setAside(const std::string& why) {
    const fs::path aside = freeDamagedName(*file);
    std::error_code error;
    fs::rename(*file, aside, error);
    if (error)
        warn(quoted(*file) + " is damaged (" + why + ") and could not be set aside (" +
             error.message() + "); the next best time replaces it.");
    else
        warn(quoted(*file) + " is damaged (" + why + "); set aside as " + quoted(aside) + ".");
}

bool Records::offerWin(Difficulty difficulty, float seconds) {
    std::optional<FileLock> lock;
    if (file) {
        std::error_code error;
        fs::create_directories(file->parent_path(), error);  // for the lock; a failure shows at the write
        lock.emplace(lockFileOf(*file));
        readFile();
    }
    std::optional<float>& held = best[slot(difficulty)];
    if (held && seconds >= *held) return false;
    held = seconds;
    save();
    return true;
}

void Records::save() {
    if (!file) return;
    std::string text = std::string("[") + kSection + "]\n";
    for (const BestWinKey& key : kBestWinKeys)
        if (const std::optional<float>& seconds = best[slot(key.difficulty)])
            text += std::string(key.name) + " = " + formatted(*seconds) + "\n";
    const std::error_code error = replaceWholeFile(*file, text);
    if (!error || warnedAboutWriting) return;
    warn("cannot write " + quoted(*file) + " (" + error.message() +
         "); best times are kept for this session only.");
    warnedAboutWriting = true;
}

std::optional<fs::path> recordsFile(const char* xdgDataHome, const char* home) {
    const fs::path relative = fs::path("qex") / "records.ini";
    if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / relative;
    if (home && *home) return fs::path(home) / ".local" / "share" / relative;
    return std::nullopt;
}
