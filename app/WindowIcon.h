#pragma once

struct GLFWwindow;

/// The X11 class and instance names of the game's window. The desktop entry's
/// StartupWMClass names the class, so that docks and task bars group the window with the
/// launcher; the install test checks the two against each other.
inline constexpr const char* kWindowClassName = "Qex";
inline constexpr const char* kWindowInstanceName = "qex";

/// Gives the window the generated icon (assets/icons/, 64 and 256 pixels; the desktop picks
/// the size it shows). A file that cannot be read prints one line; the window then keeps
/// whichever sizes did load, or the desktop's default icon.
void setWindowIcon(GLFWwindow* window);
