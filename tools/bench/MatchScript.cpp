#include "tools/bench/MatchScript.h"

#include "app/InputCallbacks.h"
#include "app/ProgramState.h"
#include "game/Enemy.h"
#include "game/Game.h"
#include "game/Player.h"

#include <cstring>

namespace {

// The game notices the loss at its next update, as it would after a hit.
void fell(GameObject* side) {
    if (side) side->addHealth(-side->getHealth());
}

void playerFalls(Game& game, ShellToggles&) { fell(game.player); }
void bossFalls(Game& game, ShellToggles&) { fell(game.boss); }
// The title over a fresh, standing match, as the game opens.
void openTitle(Game&, ShellToggles& toggles) {
    menus = MenuFlow(menus.options, menus.difficulty);
    toggles.titleRequested = true;
}
// Start, chosen on the title: the countdown, then the fight.
void startFromTitle(Game&, ShellToggles&) { act(menus.press(MenuInput::Confirm)); }
// As the R key after a match: a new match from its countdown.
void restart(Game&, ShellToggles&) { act(menus.playAgain()); }

constexpr float kEndScreenSeconds = 20.0f;
constexpr float kFallSeconds = 3.0f;  // the wreck's fall and the first of the smoke

const std::array<ScriptRow, MatchScript::kRows> kScript = {{
    {"title", 10.0f, &openTitle, false},
    {"countdown", MenuFlow::kCountdownSeconds, &startFromTitle, false},
    {"fight", 25.0f, nullptr, true},
    {"falling", kFallSeconds, &playerFalls, false},
    {"end_loss", kEndScreenSeconds, nullptr, false},
    {"restart", 5.0f, &restart, true},
    {"falling", kFallSeconds, &bossFalls, false},
    {"end_win", kEndScreenSeconds, nullptr, false},
    {"restart", 5.0f, &restart, true},
}};

}  // namespace

const std::array<ScriptRow, MatchScript::kRows>& MatchScript::rows() { return kScript; }

float MatchScript::totalSeconds() {
    float total = 0.0f;
    for (const ScriptRow& row : kScript) total += row.seconds;
    return total;
}

float MatchScript::endOf(const char* phase) {
    float end = 0.0f;
    for (const ScriptRow& row : kScript) {
        end += row.seconds;
        if (std::strcmp(row.phase, phase) == 0) break;
    }
    return end;
}

std::uint8_t MatchScript::labelOf(const char* phase) {
    for (std::size_t i = 0; i < kScript.size(); ++i)
        if (std::strcmp(kScript[i].phase, phase) == 0) return static_cast<std::uint8_t>(i);
    return 0;
}

const ScriptRow& MatchScript::follow(Game& match, ShellToggles& shell, float seconds) {
    float rowEnd = 0.0f;
    for (std::size_t i = 0; i < next && i < kScript.size(); ++i) rowEnd += kScript[i].seconds;
    if (next < kScript.size() && (next == 0 || seconds >= rowEnd)) {
        const ScriptRow& opening = kScript[next];
        if (opening.begin) opening.begin(match, shell);
        currentLabel = labelOf(opening.phase);
        ++next;
    }
    return kScript[next - 1];
}
