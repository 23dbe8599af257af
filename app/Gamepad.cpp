#include "app/Gamepad.h"

#include <algorithm>
#include <iostream>

namespace {

// Triggers read -1 at rest and 1 fully pulled; past half-way counts as pressed.
constexpr float kTriggerPressed = 0.0f;

bool held(const GLFWgamepadstate& state, int button) { return state.buttons[button] == GLFW_PRESS; }

float axis(const GLFWgamepadstate& state, int which) { return state.axes[which]; }

float direction(bool negative, bool positive) {
    return static_cast<float>(positive) - static_cast<float>(negative);
}

}  // namespace

glm::vec2 applyRadialDeadzone(const glm::vec2& stick, float deadzone) {
    const float length = glm::length(stick);
    if (length <= deadzone) return glm::vec2(0.0f);
    const float stretched = std::min((length - deadzone) / (1.0f - deadzone), 1.0f);
    return stick * (stretched / length);
}

PadControls readPadControls(const GLFWgamepadstate& state, float deadzone) {
    // The stick's y grows downwards; up on the pad means forward.
    const glm::vec2 stick = applyRadialDeadzone(
        glm::vec2(axis(state, GLFW_GAMEPAD_AXIS_LEFT_X), -axis(state, GLFW_GAMEPAD_AXIS_LEFT_Y)),
        deadzone);
    const float dpadRight = direction(held(state, GLFW_GAMEPAD_BUTTON_DPAD_LEFT),
                                      held(state, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT));
    const float dpadForward = direction(held(state, GLFW_GAMEPAD_BUTTON_DPAD_DOWN),
                                        held(state, GLFW_GAMEPAD_BUTTON_DPAD_UP));
    PadControls controls;
    controls.right = std::clamp(stick.x + dpadRight, -1.0f, 1.0f);
    controls.forward = std::clamp(stick.y + dpadForward, -1.0f, 1.0f);
    controls.up = direction(held(state, GLFW_GAMEPAD_BUTTON_LEFT_BUMPER),
                            held(state, GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER));
    controls.fire = held(state, GLFW_GAMEPAD_BUTTON_A) ||
                    axis(state, GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER) > kTriggerPressed;
    controls.heavy = held(state, GLFW_GAMEPAD_BUTTON_B) ||
                     axis(state, GLFW_GAMEPAD_AXIS_LEFT_TRIGGER) > kTriggerPressed;
    controls.accept = held(state, GLFW_GAMEPAD_BUTTON_A);
    controls.cancel = held(state, GLFW_GAMEPAD_BUTTON_B);
    controls.start = held(state, GLFW_GAMEPAD_BUTTON_START);
    controls.back = held(state, GLFW_GAMEPAD_BUTTON_BACK);
    return controls;
}

void Gamepad::enable(float zone) {
    enabled = true;
    deadzone = zone;
    if (takeFirstPresent()) std::cout << "Gamepad connected: " << name << std::endl;
}

bool Gamepad::takeFirstPresent() {
    joystick = kNone;
    for (int id = GLFW_JOYSTICK_1; id <= GLFW_JOYSTICK_LAST; ++id)
        if (glfwJoystickIsGamepad(id)) {
            use(id);
            return true;
        }
    return false;
}

void Gamepad::use(int id) {
    joystick = id;
    name = glfwGetGamepadName(id);
}

// GLFW has forgotten a joystick's name by the time it reports it gone.
void Gamepad::joystickEvent(int id, int event) {
    if (!enabled) return;
    if (event == GLFW_CONNECTED) {
        if (!glfwJoystickIsGamepad(id)) {
            std::cout << "Joystick connected without a gamepad mapping, ignored: "
                      << glfwGetJoystickName(id) << std::endl;
            return;
        }
        std::cout << "Gamepad connected: " << glfwGetGamepadName(id) << std::endl;
        if (joystick == kNone) use(id);
    } else if (event == GLFW_DISCONNECTED) {
        if (id != joystick) {
            std::cout << "Joystick " << id + 1 << " disconnected." << std::endl;
            return;
        }
        std::cout << "Gamepad disconnected: " << name << std::endl;
        takeFirstPresent();  // another one still plugged in takes over
    }
}

PadControls Gamepad::poll() {
    GLFWgamepadstate state;
    if (joystick == kNone || !glfwGetGamepadState(joystick, &state))
        lastSample = PadControls{};
    else
        lastSample = readPadControls(state, deadzone);
    return lastSample;
}
