#pragma once

#include <string>

/// An X server (Xvfb, 1600x1200, 24-bit) of one test's own. A game window on it shares
/// the screen with no other window: a screenshot of it shows the game and nothing that
/// another test, run at the same time, put on top of it. Xvfb picks a free display
/// number itself; the server is killed when the object goes (or when the test process
/// dies).
class PrivateDisplay {
public:
    /// Starts the server and waits up to `seconds` for it to take connections.
    explicit PrivateDisplay(double seconds = 20.0);
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    bool ready() const { return !displayName.empty(); }
    /// The value for DISPLAY, e.g. ":3"; empty when the server did not start.
    const std::string& name() const { return displayName; }

private:
    int pid = -1;
    std::string displayName;
};
