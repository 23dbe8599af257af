#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The accepted words, in the table's order, for the help text and the check; any case
// is accepted.
std::vector<std::string> difficultyWords() {
    std::vector<std::string> words;
    for (const DifficultyScale& row : kDifficultyTable) {
        std::string word(row.name);
        std::transform(word.begin(), word.end(), word.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        words.push_back(word);
    }
    return words;
}

std::string oneLine(const CLI::App*, const CLI::Error& error) {
    return std::string("qex: ") + error.what() + "; run 'qex --help' for the usage.\n";
}

// Which file the player meant, whatever the working folder is later.
std::optional<fs::path> absolute(const std::string& text) {
    if (text.empty()) return std::nullopt;
    std::error_code error;
    const fs::path path = fs::absolute(text, error);
    return error ? fs::path(text) : path;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const argv[], std::ostream& out,
                             std::ostream& err) {
    CLI::App app("Qex: an arcade shooter. Fly the craft, bring the boss down.", "qex");
    app.set_version_flag("--version", "qex " QEX_VERSION);
    app.failure_message(oneLine);

    std::string settingsFile;
    std::string replayFile;
    std::string difficulty;
    app.add_option("--settings", settingsFile,
                   "Read FILE over the shipped settings instead of the player's own file, "
                   "and save the options there")
        ->option_text("FILE")
        ->check(CLI::ExistingFile);
    CLI::Option* windowed = app.add_flag("--windowed", "Start in a window");
    CLI::Option* fullscreen = app.add_flag("--fullscreen", "Start full screen");
    fullscreen->excludes(windowed);
    app.add_option("--difficulty", difficulty, "Skip the title: start a match at once")
        ->check(CLI::IsMember(difficultyWords(), CLI::ignore_case));
    app.add_option("--replay", replayFile, "Play back a recorded match")
        ->option_text("FILE")
        ->check(CLI::ExistingFile);

    CommandLine line;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        line.exitStatus = status == 0 ? 0 : kBadCommandLine;
        return line;
    }
    line.settingsFile = absolute(settingsFile);
    line.replayFile = absolute(replayFile);
    if (windowed->count() > 0 || fullscreen->count() > 0) line.fullscreen = fullscreen->count() > 0;
    if (!difficulty.empty()) line.difficulty = difficultyNamed(difficulty);
    return line;
}
