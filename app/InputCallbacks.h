#pragma once

#include <optional>
#include <string>

struct GLFWwindow;

// The four window callbacks through which all input arrives. They run inside
// glfwPollEvents, on the main thread, and act on the program-wide state.
void onKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void onMouseButton(GLFWwindow* window, int button, int action, int mods);
void onWindowSize(GLFWwindow* window, int width, int height);
void onChar(GLFWwindow* window, unsigned int codePoint);

/// Registers the four callbacks on `window`, and the joystick callback when the settings
/// enable the gamepad.
void registerInputCallbacks(GLFWwindow* window);

/// GLFW's joystick callback: a gamepad arriving or leaving during play.
void onJoystick(int joystick, int event);

struct PadControls;

/// One gamepad sample, acted on against the sample before it: the steering goes into the
/// input record; fire and the heavy shot take the mouse buttons' paths (fire held keeps
/// shooting); Start acts as R and Back as F2. Like the keys, nothing but releases and the
/// shell's own commands count in free-camera mode.
void onGamepadSample(const PadControls& now, const PadControls& before);
/// Once per loop pass, after the window's events: reads the gamepad and acts on it.
void pollGamepad();

class HUD;

/// Rebuilds a screen-space element's placement for a new window size, keeping its fill.
void fitToWindow(HUD& element, int width, int height);

struct FreeFlightKeys;

/// The free camera's flight keys as the keyboard holds them now (W, S, A, D, Space, C;
/// Left Shift for speed).
FreeFlightKeys heldFlightKeys(GLFWwindow* window);

enum class MenuCommand;

/// Carries out what the menus asked for: a new match or the title at the next pass, an
/// option to apply, quitting; controls held before play or a pause are dropped.
void act(MenuCommand command);
/// The menu line under the mouse becomes the selection; false when none is.
bool pointAtMenuLine();
/// The mouse moved: in a menu, the line under it is selected. The first report, as the
/// window opens under the pointer, only says where it rests.
void onCursorPos(GLFWwindow* window, double x, double y);
/// Everything the player holds let go: fire, movement, the pad's steering.
void dropHeldControls();
/// Full screen on the primary monitor, or back to the window (F6, and the options).
void toggleFullScreen();

/// P: enters or leaves free-camera mode (and flips the game's pause with it).
void toggleFreeCameraMode();

/// The refresh rate typed in free-camera mode, when it lies in the settings file's range
/// (kLeastRefreshRate to kMostRefreshRate). Says in one stdout line the rate it gives, or
/// why it keeps the current one; no digits at all say nothing and give nothing.
std::optional<int> typedRefreshRate(const std::string& digits);
