#include "game/ControlFrame.h"

#include "game/ButtonPressedNew.h"

namespace {

// Each key bit beside its flag in the control record; one table for both directions.
struct KeyFlag {
    ControlFrame::Key key;
    bool ButtonPressedNew::*flag;
};

constexpr KeyFlag kHeldKeys[] = {
    {ControlFrame::Forward, &ButtonPressedNew::w},  {ControlFrame::Back, &ButtonPressedNew::s},
    {ControlFrame::Up, &ButtonPressedNew::space},   {ControlFrame::Left, &ButtonPressedNew::a},
    {ControlFrame::Right, &ButtonPressedNew::d},    {ControlFrame::Down, &ButtonPressedNew::c},
    {ControlFrame::DownSecond, &ButtonPressedNew::shift},
};

constexpr KeyFlag kShots[] = {
    {ControlFrame::Fire, &ButtonPressedNew::mouseLeft},
    {ControlFrame::HeavyFire, &ButtonPressedNew::mouseRight},
};

}  // namespace

bool ControlFrame::operator==(const ControlFrame& other) const {
    return keys == other.keys && padRight == other.padRight && padForward == other.padForward &&
           padUp == other.padUp;
}

ControlFrame takeControls(ButtonPressedNew& live) {
    ControlFrame frame;
    for (const KeyFlag& held : kHeldKeys)
        if (live.*held.flag) frame.keys |= held.key;
    for (const KeyFlag& shot : kShots) {
        if (live.*shot.flag) frame.keys |= shot.key;
        live.*shot.flag = false;
    }
    frame.padRight = live.padRight;
    frame.padForward = live.padForward;
    frame.padUp = live.padUp;
    return frame;
}

void applyControls(const ControlFrame& frame, ButtonPressedNew& game) {
    for (const KeyFlag& held : kHeldKeys) game.*held.flag = frame.has(held.key);
    for (const KeyFlag& shot : kShots)
        if (frame.has(shot.key)) game.*shot.flag = true;
    game.padRight = frame.padRight;
    game.padForward = frame.padForward;
    game.padUp = frame.padUp;
}
