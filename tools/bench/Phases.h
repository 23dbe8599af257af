#pragma once

#include <string>
#include <vector>

/// One measurement, run in a process of its own: the game keeps program-wide state, so each
/// phase starts from a fresh process, a fresh window and a fresh match.
struct PhaseOptions {
    int width = 800;
    int height = 800;
    int samples = 0;               ///< the window's multisampling
    bool gameSamplesFromSettings = true;  ///< the game's own `samples` unless told otherwise
    std::string renderScale;       ///< "auto", a number, or empty for the settings' value
    int refreshRate = 60;          ///< sets the frame budget the render scale aims for
    bool uncapped = true;          ///< a frame on every pass instead of at the refresh rate
    float seconds = 60.0f;         ///< length of the run
    float warmup = 5.0f;           ///< seconds at the start left out of every figure
    std::vector<float> rssAt;      ///< seconds into the run at which to read the resident size
};

/// Clears and swaps an empty window of the game's kind as fast as it can: the floor every
/// frame of the game stands on. Prints one "RESULT" line; returns the exit status.
int runFloorPhase(const PhaseOptions& options);

/// Starts the game as the player would, drives it with the scripted play through the
/// game's own loop pass and prints one "RESULT" line; returns the exit status.
int runGamePhase(const PhaseOptions& options);
