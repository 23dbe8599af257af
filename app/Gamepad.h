#pragma once

#define GLFW_INCLUDE_NONE  // GLEW brings the GL declarations, and must come first
#include <GLFW/glfw3.h>
#include <glm/glm.hpp>

#include <string>

/// What one sample of a gamepad asks for. Steering is a share of a movement key's speed.
struct PadControls {
    float right = 0.0f;    ///< -1 to 1: left stick or d-pad, sideways
    float forward = 0.0f;  ///< -1 to 1: left stick or d-pad, up on the pad is forward (-z)
    float up = 0.0f;       ///< -1, 0 or 1: right shoulder up, left shoulder down
    bool fire = false;     ///< right trigger or A: primary shots while held
    bool heavy = false;    ///< left trigger or B: the heavy shot
    bool accept = false;   ///< A alone: chooses in the menus
    bool cancel = false;   ///< B alone: backs out of the menus
    bool start = false;    ///< Start: the pause menu during a match, a new one once it has ended
    bool back = false;     ///< Back: shows or hides the HUD
};

/// A stick's position with the middle `deadzone` of its travel (a circle) taken out and the
/// rest stretched to the full range: just outside the circle is a creep, full tilt is 1.
/// Corners of a square gate are held to length 1.
glm::vec2 applyRadialDeadzone(const glm::vec2& stick, float deadzone);

/// One GLFW gamepad sample (its standard mapping) turned into controls.
PadControls readPadControls(const GLFWgamepadstate& state, float deadzone);

/// The gamepad in use, through GLFW's gamepad API and its built-in mappings.
///
/// Disabled until enable(); then it takes the first gamepad plugged in and follows
/// joysticks arriving and leaving (joystickEvent, from GLFW's joystick callback), with
/// one line on standard output for each. Keyboard and mouse work alongside it.
class Gamepad {
public:
    /// Starts listening, with `deadzone` as a fraction of a stick's travel; takes up a
    /// gamepad that is already plugged in. Needs GLFW initialised.
    void enable(float deadzone);
    /// GLFW's joystick callback: `event` is GLFW_CONNECTED or GLFW_DISCONNECTED.
    void joystickEvent(int joystick, int event);
    /// Reads the gamepad in use; all idle without one. Allocates nothing.
    PadControls poll();
    /// What the previous poll() returned.
    const PadControls& latest() const { return lastSample; }

private:
    static constexpr int kNone = -1;

    bool takeFirstPresent();
    void use(int joystick);

    bool enabled = false;
    float deadzone = 0.2f;
    int joystick = kNone;  ///< GLFW joystick id of the gamepad in use
    std::string name;      ///< of the gamepad in use, for the line when it leaves
    PadControls lastSample;
};
