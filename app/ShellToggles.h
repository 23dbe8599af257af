#pragma once

#include <glm/glm.hpp>

#include <string>

/// The shell's switches, flipped by the input callbacks and read by the frame loop.
struct ShellToggles {
    bool freeCameraMode = false;   ///< P: fly the camera; gameplay input and physics halt
    bool wireframeMode = false;    ///< F1: lines, shown as drawn: no grade, no smoothing
    bool showFrameStats = false;   ///< O: the once-per-second statistics line
    bool fullscreenToggle = false; ///< F6: starts false even when the settings ask for full screen
    bool restartRequested = false; ///< a new match from its countdown, at the next loop pass
    bool titleRequested = false;   ///< a fresh, standing match behind the title, at the next pass
    bool optionChanged = false;    ///< the options screen changed a setting; applied at the next pass
    bool hudVisible = true;        ///< F2, together with cullingEnabled
    bool cullingEnabled = true;
    bool matchRunning = true;      ///< false while an end-of-match screen shows
};

/// What free-camera mode remembers from the moment it was entered.
struct FreeCameraState {
    std::string refreshRateDigits;  ///< digits typed while flying; a new refresh rate
    glm::mat4 savedViewProjection{1.0f};
    glm::vec3 savedPosition{0.0f};
};

/// Where the mouse was last reported over the window. A menu follows the mouse only when it
/// moves: a window that opens under a resting pointer must not move the selection.
struct MenuPointer {
    double x = 0.0;
    double y = 0.0;
    bool seen = false;  ///< a first report only tells where the pointer rests
};
