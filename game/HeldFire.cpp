#include "game/HeldFire.h"

#include "game/ButtonPressedNew.h"

#include <algorithm>

namespace {

constexpr float kShotInterval = 1.0f / HeldFire::kShotsPerSecond;  // seconds
// Frame times summed in floats land a hair short of a due shot; this keeps it in its frame.
constexpr float kRoundingSlack = 1e-4f;  // seconds

unsigned bit(HeldFire::Source source) { return static_cast<unsigned>(source); }

}  // namespace

void HeldFire::press(Source source, ButtonPressedNew& buttons) {
    buttons.mouseLeft = true;
    untilNextShot = kShotInterval;
    heldBy |= bit(source);
}

void HeldFire::release(Source source) { heldBy &= ~bit(source); }

void HeldFire::advance(float seconds, ButtonPressedNew& buttons) {
    if (!isHeld()) return;
    untilNextShot -= seconds;
    if (untilNextShot > kRoundingSlack) return;
    buttons.mouseLeft = true;
    // A frame longer than the interval still asks for one shot: the game fires at most one
    // a frame, and a backlog would only burst out later.
    untilNextShot = std::max(untilNextShot + kShotInterval, 0.0f);
}
