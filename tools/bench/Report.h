#pragma once

#include "tools/bench/MatchScript.h"

#include <string>
#include <vector>

/// What one run of the benchmark measures and for how long.
struct BenchOptions {
    std::vector<std::pair<int, int>> sizes{{800, 800}, {1280, 720}, {1920, 1080}};
    float playSeconds = MatchScript::totalSeconds();  ///< the scripted match with defaults
    float fullScaleSeconds = 25.0f;  ///< the fight alone at render_scale 1.0
    float floorSeconds = 5.0f;   ///< each clear+swap phase
    float cpuSeconds = 20.0f;    ///< the capped run for the main thread's CPU share
    float warmup = 5.0f;         ///< seconds at the start of each phase left out
    int gameSamples = -1;        ///< the game window's samples; -1: the settings' value
    bool longRun = false;        ///< adds a five-minute run for the resident size
};

/// Runs every phase as a child process of `self`, alternating the clear+swap floors with
/// the game, and prints the figures; returns the exit status.
int runBenchmark(const std::string& self, const BenchOptions& options);
