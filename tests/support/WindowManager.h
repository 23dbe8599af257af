#pragma once

#include <string>

/// Asks window `windowId` (as xdotool prints it) to close the way a window manager does
/// when its close button is clicked: a WM_DELETE_WINDOW client message (ICCCM). Under
/// Xvfb no window manager runs, so nothing else would send it. `display` empty means the
/// test's own DISPLAY. False when the display cannot be opened.
bool requestWindowClose(const std::string& windowId, const std::string& display = std::string());
