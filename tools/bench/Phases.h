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
    std::vector<float> shotsAt;    ///< seconds into the scripted match at which to take a picture
    std::string shotPrefix = "shot";  ///< pictures go to <prefix>-<seconds>.png
};

/// The key of the resident size read `seconds` into a run, in a game phase's "RESULT" line.
std::string residentSizeKey(float seconds);

/// Clears and swaps an empty window of the game's kind as fast as it can: the floor every
/// frame of the game stands on. Prints one "RESULT" line; returns the exit status.
int runFloorPhase(const PhaseOptions& options);

/// Starts the game as the player would, drives it with the scripted play through the
/// game's own loop pass and prints one "RESULT" line; returns the exit status.
int runGamePhase(const PhaseOptions& options);

/// Plays a few seconds, pauses, and draws the same scene at render scales 1.0, 0.7 and 0.5:
/// prints how far each picture (before the HUD) lies from the first 1.0 one, as the mean
/// absolute difference per channel, and a second 1.0 picture for the noise.
int runSharpnessPhase(const PhaseOptions& options);

/// Plays the scripted match and writes the scene as it stands after the resolve, before the
/// HUD, to a PNG at each of `shotsAt` seconds: the pictures to compare before and after a
/// change to the look.
int runShotsPhase(const PhaseOptions& options);
