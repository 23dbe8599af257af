#pragma once

#include "app/ProgramState.h"

#include <gtest/gtest.h>

/// Puts the shell's program-wide state back to its start values around each test,
/// with a camera for an 800 x 800 window and a match being played.
class ShellStateTest : public ::testing::Test {
protected:
    void SetUp() override { resetShellState(); }
    void TearDown() override { resetShellState(); }

    static void resetShellState() {
        settings = Settings{};
        toggles = ShellToggles{};
        freeCamera = FreeCameraState{};
        menuPointer = MenuPointer{};
        frameCapNote = FrameCapNote{};
        *buttons = ButtonPressedNew{};
        heldFire = HeldFire{};
        camera = std::make_shared<CustomCamera>(800.0f, 800.0f, 60.0f, 0.1f, 100.0f);
        menus = MenuFlow(OptionValues{}, Difficulty::Normal);
        menus.startAt(Difficulty::Normal);
        menus.tick(MenuFlow::kCountdownSeconds, false, 0.0f);  // the match is played
    }
};
