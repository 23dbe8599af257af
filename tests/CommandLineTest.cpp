#include "app/CommandLine.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

// --help and --version print to standard output and end with 0; an option the game
// cannot follow ends it with 2 and one line on standard error that names the option and
// points to --help.
TEST(CommandLine, OptionsAreReadAndMistakesEndWithOneLineAndStatusTwo) {
    const TempDir dir;
    const std::string file = dir.write("my.ini", "");
    struct Case {
        std::vector<const char*> words;
        std::optional<int> exitStatus;
        std::optional<bool> fullscreen;
        std::optional<Difficulty> difficulty;
        const char* printed;  ///< on standard error when the status is 2, else on standard output
    };
    const Case cases[] = {
        {{"qex"}, std::nullopt, std::nullopt, std::nullopt, ""},
        {{"qex", "--windowed", "--difficulty", "HARD"}, std::nullopt, false, Difficulty::Hard, ""},
        {{"qex", "--fullscreen", "--difficulty=easy"}, std::nullopt, true, Difficulty::Easy, ""},
        {{"qex", "--settings", file.c_str(), "--replay", file.c_str()}, std::nullopt, std::nullopt, std::nullopt, ""},
        {{"qex", "--help"}, 0, std::nullopt, std::nullopt, "--difficulty"},
        {{"qex", "--version"}, 0, std::nullopt, std::nullopt, "qex 0."},
        {{"qex", "--bogus"}, 2, std::nullopt, std::nullopt, "--bogus"},
        {{"qex", "stray"}, 2, std::nullopt, std::nullopt, "stray"},
        {{"qex", "--difficulty", "extreme"}, 2, std::nullopt, std::nullopt, "extreme"},
        {{"qex", "--difficulty"}, 2, std::nullopt, std::nullopt, "--difficulty"},
        {{"qex", "--settings", "/no/such.ini"}, 2, std::nullopt, std::nullopt, "/no/such.ini"},
        {{"qex", "--replay", "/no/such.qexreplay"}, 2, std::nullopt, std::nullopt, "/no/such.qexreplay"},
        {{"qex", "--windowed", "--fullscreen"}, 2, std::nullopt, std::nullopt, "--fullscreen"},
    };
    for (const Case& c : cases) {
        std::ostringstream out, err;
        const CommandLine line = parseCommandLine(static_cast<int>(c.words.size()), c.words.data(), out, err);
        const std::string context = c.words.back();
        const std::string errors = err.str();
        EXPECT_EQ(line.exitStatus, c.exitStatus) << context;
        EXPECT_EQ(line.fullscreen, c.fullscreen) << context;
        EXPECT_EQ(line.difficulty, c.difficulty) << context;
        EXPECT_NE((line.exitStatus == 2 ? errors : out.str()).find(c.printed), std::string::npos) << context;
        const bool refused = line.exitStatus == 2;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), refused ? 1 : 0) << errors;
        EXPECT_EQ(errors.find("--help") != std::string::npos, refused) << errors;
        const auto given = context == file ? std::optional(std::filesystem::path(file)) : std::nullopt;
        EXPECT_EQ(line.settingsFile, given) << context;
        EXPECT_EQ(line.replayFile, given) << context;
    }
}
