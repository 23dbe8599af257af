#pragma once

#include <optional>
#include <string_view>

/// How hard a match is. Normal is the game as it was designed; Easy and Hard scale the
/// boss and the craft through one row of kDifficultyTable each.
enum class Difficulty { Easy, Normal, Hard };

/// What a difficulty changes, as factors of the Normal game.
struct DifficultyScale {
    Difficulty difficulty;
    std::string_view name;      ///< as the menus, the end panel and the command line say it
    float bossHealth;           ///< of the boss's maximum health
    float bossFireRate;         ///< of its aimed shots per second
    float bossShotSpeed;        ///< of its shots' speed
    float missileFrequency;     ///< of its missiles per second in a barrage
    float craftHull;            ///< of the craft's maximum health
};

inline constexpr DifficultyScale kDifficultyTable[] = {
    {Difficulty::Easy, "Easy", 0.7f, 0.7f, 0.8f, 0.6f, 1.6f},
    {Difficulty::Normal, "Normal", 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
    {Difficulty::Hard, "Hard", 1.3f, 1.35f, 1.25f, 1.5f, 0.8f},
};

/// The row of `difficulty` in kDifficultyTable.
constexpr const DifficultyScale& scaleOf(Difficulty difficulty) {
    return kDifficultyTable[static_cast<int>(difficulty)];
}

/// "Easy", "Normal" or "Hard".
constexpr std::string_view nameOf(Difficulty difficulty) { return scaleOf(difficulty).name; }

/// The difficulty named `word`, in any case ("easy", "HARD"); nothing for any other word.
std::optional<Difficulty> difficultyNamed(std::string_view word);
