#include "tools/bench/ScriptedPlay.h"

#include "game/ButtonPressedNew.h"
#include "game/Enemy.h"
#include "game/Game.h"
#include "game/Player.h"
#include "render/HUD.h"

#include <cmath>

namespace {

constexpr float kShotInterval = 0.2f;    // seconds between clicks: five a second
constexpr float kStrafePeriod = 3.0f;    // seconds: half left, half right
constexpr float kHeavyShotPeriod = 12.0f;
constexpr float kHealthFloor = 0.3f;     // share of full health at which a side is healed

bool inFirstPart(float seconds, float period, float part) {
    return std::fmod(seconds, period) < part;
}

// A click is a press that the next drawn frame turns into a shot; one per interval.
bool clickDue(float seconds, float interval, int& clicksSoFar) {
    const int due = static_cast<int>(seconds / interval);
    if (due <= clicksSoFar) return false;
    clicksSoFar = due;
    return true;
}

void keepAlive(GameObject& side) {
    if (side.getHealth() >= kHealthFloor * static_cast<float>(side.getMaxHealth())) return;
    side.resetHealth();
    if (HUD* bar = side.getHealthBar()) bar->setFill(side.getHealth(), side.getMaxHealth());
}

}  // namespace

void ScriptedPlay::drive(ButtonPressedNew& buttons, Game& game, float seconds, bool keepBothAlive) {
    const bool left = inFirstPart(seconds, kStrafePeriod, kStrafePeriod / 2.0f);
    buttons.a = left && !buttons.blockA;
    buttons.d = !left && !buttons.blockD;
    if (clickDue(seconds, kShotInterval, clicks)) buttons.mouseLeft = true;
    if (clickDue(seconds, kHeavyShotPeriod, heavyClicks)) buttons.mouseRight = true;
    if (!keepBothAlive) return;
    if (game.player) keepAlive(*game.player);
    if (game.boss) keepAlive(*game.boss);
}
