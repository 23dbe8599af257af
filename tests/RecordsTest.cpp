#include "game/Records.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string contentsOf(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int linesIn(const std::string& output) {
    int lines = 0;
    for (char c : output) lines += c == '\n';
    return lines;
}

// Builds the records from `file` and returns them with what they printed.
struct Loaded {
    std::optional<Records> records;
    std::string output;
};

Loaded load(const fs::path& file) {
    Loaded loaded;
    testing::internal::CaptureStdout();
    loaded.records.emplace(file);
    loaded.output = testing::internal::GetCapturedStdout();
    return loaded;
}

std::optional<float> bestIn(const fs::path& file, Difficulty difficulty = Difficulty::Normal) {
    testing::internal::CaptureStdout();
    const Records records(file);
    testing::internal::GetCapturedStdout();
    return records.bestWinSeconds(difficulty);
}

constexpr Difficulty kNormal = Difficulty::Normal;

}  // namespace

TEST(Records, LiveUnderXdgDataHomeOrElseUnderHome) {
    struct Case {
        const char* xdgDataHome;
        const char* home;
        std::optional<fs::path> file;
    };
    for (const Case& c : {
             Case{"/data", "/home/pilot", fs::path("/data/qex/records.ini")},
             Case{nullptr, "/home/pilot", fs::path("/home/pilot/.local/share/qex/records.ini")},
             Case{"", "/home/pilot", fs::path("/home/pilot/.local/share/qex/records.ini")},
             Case{"relative/data", "/home/pilot", fs::path("/home/pilot/.local/share/qex/records.ini")},
             Case{nullptr, nullptr, std::nullopt},
             Case{"", "", std::nullopt},
         })
        EXPECT_EQ(recordsFile(c.xdgDataHome, c.home), c.file)
            << (c.xdgDataHome ? c.xdgDataHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
}

TEST(Records, AMissingFileGetsItsLineAndTheFirstWinWritesIt) {
    const TempDir dir;
    const fs::path file = dir.path() / "data/qex/records.ini";
    Loaded loaded = load(file);
    EXPECT_EQ(linesIn(loaded.output), 1) << loaded.output;
    EXPECT_NE(loaded.output.find("no best time yet"), std::string::npos) << loaded.output;
    EXPECT_FALSE(loaded.records->bestWinSeconds(kNormal));

    EXPECT_TRUE(loaded.records->offerWin(kNormal, 93.25f));
    EXPECT_EQ(bestIn(file), std::optional<float>(93.25f));
    // The file and its lock: no temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 2);
}

// Anything but a positive, finite time is set aside, never trusted, and no damaged file
// set aside earlier is overwritten.
TEST(Records, ADamagedFileIsSetAsideWithItsLineAndNotTrusted) {
    const TempDir dir;
    int setAside = 0;
    for (const char* damaged : {
             "best_win_seconds = 12\n",                  // outside its section
             "[records]\n",                              // no time at all
             "[records\nbest_win_seconds = 12\n",        // not INI
             "[records]\nbest_win_seconds = -3\n",
             "[records]\nbest_win_seconds = 0\n",
             "[records]\nbest_win_seconds = nan\n",
             "[records]\nbest_win_seconds = inf\n",
             "[records]\nbest_win_seconds = 1e60\n",     // beyond a float
             "[records]\nbest_win_seconds = 1e-60\n",    // below one
             "[records]\nbest_win_seconds = 12 seconds\n",
             "[records]\nbest_win_seconds = \n",
             "[records]\nbest_win_seconds = 50\nbest_win_seconds_hard = -1\n",
             "\x89PNG\r\n\x1a\n\x01\x02\x03",
         }) {
        const std::string file = dir.write("qex/records.ini", damaged);
        const Loaded loaded = load(file);
        EXPECT_FALSE(loaded.records->bestWinSeconds(kNormal)) << damaged;
        EXPECT_EQ(linesIn(loaded.output), 1) << loaded.output;
        EXPECT_NE(loaded.output.find("damaged"), std::string::npos) << loaded.output;
        EXPECT_FALSE(fs::exists(file)) << damaged;
        const std::string number = ++setAside == 1 ? "" : "." + std::to_string(setAside);
        EXPECT_EQ(contentsOf(file + ".damaged" + number), damaged);
    }
}

// The file here is one written before there were difficulties: its time is Normal's.
TEST(Records, ANewBestReplacesTheOldOneOfItsDifficultyAndASlowerWinDoesNot) {
    const TempDir dir;
    const std::string file = dir.write("qex/records.ini", "[records]\nbest_win_seconds = 90.5\n");
    Loaded loaded = load(file);
    EXPECT_EQ(loaded.output, "");
    Records& records = *loaded.records;
    EXPECT_EQ(records.bestWinSeconds(kNormal), std::optional<float>(90.5f));
    EXPECT_FALSE(records.bestWinSeconds(Difficulty::Hard));

    EXPECT_TRUE(records.offerWin(kNormal, 80.25f));
    EXPECT_TRUE(records.offerWin(Difficulty::Hard, 120.0f));  // the first win at Hard
    EXPECT_EQ(records.bestWinSeconds(kNormal), std::optional<float>(80.25f));
    EXPECT_EQ(bestIn(file), std::optional<float>(80.25f));
    EXPECT_EQ(bestIn(file, Difficulty::Hard), std::optional<float>(120.0f));
    EXPECT_FALSE(bestIn(file, Difficulty::Easy));

    const std::string written = contentsOf(file);
    EXPECT_FALSE(records.offerWin(kNormal, 100.0f));
    EXPECT_FALSE(records.offerWin(kNormal, 80.25f));  // a tie keeps the older best
    EXPECT_EQ(records.bestWinSeconds(kNormal), std::optional<float>(80.25f));
    EXPECT_EQ(contentsOf(file), written);
}

// Two games read the same best of 100 s at start; they finish in 80 s and 90 s at the
// same moment, in either order. The file must end with 80 s every time.
TEST(Records, TwoGamesThatWinTogetherKeepTheFasterTime) {
    const TempDir dir;
    const fs::path file = dir.path() / "qex/records.ini";
    for (int round = 0; round < 40; ++round) {
        dir.write("qex/records.ini", "[records]\nbest_win_seconds = 100\n");
        Records faster = *load(file).records;
        Records slower = *load(file).records;
        std::thread first([&] { faster.offerWin(kNormal, 80.0f); });
        std::thread second([&] { slower.offerWin(kNormal, 90.0f); });
        first.join();
        second.join();
        ASSERT_EQ(bestIn(file), std::optional<float>(80.0f)) << "round " << round;
    }
}

// Here the folder cannot be made because a plain file stands where it should be; the
// game plays on and keeps the best for the session.
TEST(Records, AnUnwritableFolderGivesOneLineAndKeepsTheBestForTheSession) {
    const TempDir dir;
    dir.write("data/qex", "not a folder");
    Loaded loaded = load(dir.path() / "data/qex/records.ini");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(loaded.records->offerWin(kNormal, 70.0f));
    EXPECT_TRUE(loaded.records->offerWin(kNormal, 60.0f));
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(linesIn(output), 1) << output;
    EXPECT_NE(output.find("cannot write"), std::string::npos) << output;
    EXPECT_NE(output.find("(Not a directory)"), std::string::npos) << output;  // the real reason
    EXPECT_EQ(loaded.records->bestWinSeconds(kNormal), std::optional<float>(60.0f));
    EXPECT_FALSE(loaded.records->offerWin(kNormal, 65.0f));
}

TEST(Records, AFileThatCannotBeReadIsLeftAloneAndNeverOverwritten) {
    const TempDir dir;
    const fs::path file = dir.path() / "qex/records.ini";
    fs::create_directories(file);  // a folder where the file should be
    const Loaded loaded = load(file);
    EXPECT_EQ(linesIn(loaded.output), 1) << loaded.output;
    EXPECT_NE(loaded.output.find("cannot read"), std::string::npos) << loaded.output;

    testing::internal::CaptureStdout();
    Records records = *loaded.records;
    EXPECT_TRUE(records.offerWin(kNormal, 50.0f));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(fs::is_directory(file));
}
