#include "app/CommandLine.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <vector>

namespace {

struct Parsed {
    CommandLine line;
    std::string out;
    std::string err;
};

Parsed parse(std::vector<const char*> words) {
    words.insert(words.begin(), "qex");
    std::ostringstream out;
    std::ostringstream err;
    const CommandLine line = parseCommandLine(static_cast<int>(words.size()), words.data(), out, err);
    return {line, out.str(), err.str()};
}

}  // namespace

// An option the game cannot follow ends it with status 2 and one line on standard error
// that names the option and points to --help.
TEST(CommandLine, OptionsAreReadAndMistakesEndWithOneLineAndStatusTwo) {
    const TempDir dir;
    const std::string file = dir.write("my.ini", "");
    struct Case {
        std::vector<const char*> words;
        std::optional<int> exitStatus;
        std::optional<bool> fullscreen;
        std::optional<Difficulty> difficulty;
        const char* named;  ///< what the error line must name
    };
    const Case cases[] = {
        {{}, std::nullopt, std::nullopt, std::nullopt, nullptr},
        {{"--windowed", "--difficulty", "HARD"}, std::nullopt, false, Difficulty::Hard, nullptr},
        {{"--fullscreen", "--difficulty=easy"}, std::nullopt, true, Difficulty::Easy, nullptr},
        {{"--settings", file.c_str(), "--replay", file.c_str()}, std::nullopt, std::nullopt, std::nullopt, nullptr},
        {{"--bogus"}, 2, std::nullopt, std::nullopt, "--bogus"},
        {{"stray"}, 2, std::nullopt, std::nullopt, "stray"},
        {{"--difficulty", "extreme"}, 2, std::nullopt, std::nullopt, "extreme"},
        {{"--difficulty"}, 2, std::nullopt, std::nullopt, "--difficulty"},
        {{"--settings", "/no/such.ini"}, 2, std::nullopt, std::nullopt, "/no/such.ini"},
        {{"--replay", "/no/such.qexreplay"}, 2, std::nullopt, std::nullopt, "/no/such.qexreplay"},
        {{"--windowed", "--fullscreen"}, 2, std::nullopt, std::nullopt, "--fullscreen"},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(c.words);
        const std::string context = c.words.empty() ? "(none)" : c.words.front();
        EXPECT_EQ(p.line.exitStatus, c.exitStatus) << context;
        EXPECT_EQ(p.line.fullscreen, c.fullscreen) << context;
        EXPECT_EQ(p.line.difficulty, c.difficulty) << context;
        if (!c.named) {
            EXPECT_EQ(p.err, "") << context;
            continue;
        }
        EXPECT_EQ(std::count(p.err.begin(), p.err.end(), '\n'), 1) << p.err;
        EXPECT_NE(p.err.find(c.named), std::string::npos) << p.err;
        EXPECT_NE(p.err.find("--help"), std::string::npos) << p.err;
    }
    const Parsed files = parse(cases[3].words);
    EXPECT_EQ(files.line.settingsFile, std::filesystem::path(file));
    EXPECT_EQ(files.line.replayFile, std::filesystem::path(file));
}

TEST(CommandLine, HelpAndVersionPrintAndEndWithStatusZero) {
    const Parsed help = parse({"--help"});
    EXPECT_EQ(help.line.exitStatus, 0);
    for (const char* option : {"--settings", "--windowed", "--fullscreen", "--difficulty", "--replay"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    const Parsed version = parse({"--version"});
    EXPECT_EQ(version.line.exitStatus, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("qex [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}
