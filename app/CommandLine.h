#pragma once

#include "game/Difficulty.h"

#include <filesystem>
#include <iostream>
#include <optional>

/// What the command line asks for. Every field left empty keeps the game's usual course.
/// Paths are absolute, so they survive the start-up's change of working folder.
struct CommandLine {
    /// --settings FILE: read over the shipped settings in place of the player's own file
    /// (userSettingsFile()), and the file the options screen saves to.
    std::optional<std::filesystem::path> settingsFile;
    std::optional<bool> fullscreen;          ///< --fullscreen or --windowed, over the settings
    std::optional<Difficulty> difficulty;    ///< --difficulty: straight into a match at it
    std::optional<std::filesystem::path> replayFile;  ///< --replay FILE: play it back
    /// Set when the program should end at once with this status: 0 after --help or
    /// --version, 2 after an unknown option or a bad value.
    std::optional<int> exitStatus;
};

/// Exit status of a command line the game cannot follow.
constexpr int kBadCommandLine = 2;

/// Reads `argv` (argv[0] is the program). --help and --version print to `out`; an unknown
/// option or a bad value prints one line naming it, with the hint to --help, to `err`.
/// The streams are arguments so that tests can call it without a process.
CommandLine parseCommandLine(int argc, const char* const argv[], std::ostream& out = std::cout,
                             std::ostream& err = std::cerr);
