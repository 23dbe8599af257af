#include "game/Difficulty.h"

#include <cctype>

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

std::optional<Difficulty> difficultyNamed(std::string_view word) {
    for (const DifficultyScale& row : kDifficultyTable)
        if (sameLetters(row.name, word)) return row.difficulty;
    return std::nullopt;
}
