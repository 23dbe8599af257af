#pragma once

#include "audio/EffectPlayer.h"

class Game;

/// Turns what the match did since the last drawn frame into sounds: one row of a table
/// per match event, each sound started at most once a frame however often its event
/// happened; and the missile warning, looping while a homing missile that keeps its course
/// would reach the craft within kMissileWarningSeconds (silent while the game is paused).
/// Call once per drawn frame, after the game's update and before its events are cleared.
void playMatchSounds(const Game& game, EffectPlayer& sounds);

constexpr float kMissileWarningSeconds = 2.5f;
