#pragma once

struct ButtonPressedNew;
class Game;

/// A minute (or any length) of play without a player: steady primary fire, strafing from
/// side to side through the boss's line of fire, a heavy shot now and then. The boss attacks
/// on its own. While asked to, it keeps both sides alive, so the match stays in progress.
///
/// Sets the input record the way the key callbacks would: a movement flag is raised only
/// while the walls have not blocked that direction.
class ScriptedPlay {
public:
    /// Called before every loop pass; `seconds` counts from the start of the run.
    void drive(ButtonPressedNew& buttons, Game& game, float seconds, bool keepBothAlive);

private:
    int clicks = 0;
    int heavyClicks = 0;
};
