#include "support/GameProcess.h"
#include "support/RunningGame.h"
#include "support/TempFiles.h"
#include "support/WindowManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

namespace fs = std::filesystem;

// Escape pauses the match; the pause menu's last line, one up from Resume, quits.
TEST(GameBinary, WithoutSettingsOpensTheDefaultWindowAndQuitsFromThePauseMenu) {
    TempDir dir;
    copyBuildAssets(dir.path());
    fs::remove(dir.path() / "assets" / "settings.ini");
    GameProcess game(dir.path(), dir.path() / "out.log");

    const std::string id = waitForWindow("Qex", 60.0, game.processId());
    ASSERT_FALSE(id.empty()) << game.output();
    const std::string info = runCommand("xwininfo -id " + id);
    EXPECT_NE(info.find("Width: 800"), std::string::npos) << info;
    EXPECT_NE(info.find("Height: 800"), std::string::npos) << info;

    std::this_thread::sleep_for(std::chrono::seconds(1));
    runCommand("xdotool key --window " + id + " --delay 300 Escape Up Return");
    const std::optional<int> status = game.waitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << "the game did not quit from its pause menu";
    EXPECT_EQ(*status, 0) << game.output();

    const std::string out = game.output();
    const std::string message =
        "ERROR: Failed to load 'assets/settings.ini'. Using default values instead.\n";
    ASSERT_NE(out.find(message), std::string::npos) << out;
    EXPECT_EQ(out.find(message), out.rfind(message));  // printed once
    EXPECT_FALSE(std::regex_search(out, std::regex("OpenGL Error:.*Type = Error"))) << out;
}

TEST(GameBinary, MissingShaderFileEndsWithStatusOneWithoutWaiting) {
    TempDir dir;
    copyBuildAssets(dir.path());
    fs::remove(dir.path() / "assets" / "shader" / "HUD.frag");
    GameProcess game(dir.path(), dir.path() / "out.log");

    const std::optional<int> status = game.waitForExit(60.0);
    ASSERT_TRUE(status.has_value()) << "the game waited instead of ending";
    EXPECT_EQ(*status, 1);
    EXPECT_NE(game.output().find("Couldn't open shader file: assets/shader/HUD.frag\n"),
              std::string::npos)
        << game.output();
}

// The close button of a window manager ends the game as Escape does: the loop sees the
// close flag, the teardown runs and the status is 0.
TEST(GameBinary, ClosingTheWindowThroughTheWindowManagerQuitsLikeEscape) {
    TempDir dir;
    copyBuildAssets(dir.path());
    GameProcess game(dir.path(), dir.path() / "out.log");

    const std::string id = waitForWindow("Qex", 60.0, game.processId());
    ASSERT_FALSE(id.empty()) << game.output();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ASSERT_TRUE(requestWindowClose(id));
    const std::optional<int> status = game.waitForExit(30.0);
    ASSERT_TRUE(status.has_value()) << "the game did not quit when its window was closed";
    EXPECT_EQ(*status, 0) << game.output();
}
