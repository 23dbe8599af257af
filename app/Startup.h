#pragma once

#include <string>

/// Exit status of a start-up that could not get a window, a context or the framework.
constexpr int kStartupFailed = 1;

/// Fills the program's `settings`: the shipped assets/settings.ini, the player's own file
/// over it (or the --settings file in its place, which `userSettings` then names), and
/// --windowed or --fullscreen over both. Reads the environment for the player's file.
void loadStartupSettings();

/// The first screen, from the command line: with --replay the recorded match plays at
/// once, with --difficulty a match at that level starts from its countdown, and otherwise
/// the title shows. A replay that cannot be played gets one line naming the file and the
/// reason, and false. The options screen starts from the settings.
bool chooseFirstScreen();

/// Start-up up to the scene: GLFW and its error callback, the window with an OpenGL 4.3
/// core debug context, GLEW, debug output, the framework, the input callbacks, swap
/// interval 0 and the initial GL state. On failure it has already terminated GLFW and
/// shown the "ERROR: " line (see showFatalMessage); the caller returns kStartupFailed.
bool startWindowAndContext();

/// Teardown after the loop: the framework goes while the context is still there, then GLFW.
void shutDownWindowAndContext();

/// GLFW's own error reports, one line each.
void onGlfwError(int code, const char* description);
