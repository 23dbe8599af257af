#include "support/PrivateDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

// Xvfb writes the display number it chose, then a newline, once it takes connections.
std::string readDisplayNumber(int fd, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string number;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0) continue;
        char c = 0;
        if (read(fd, &c, 1) != 1) return "";  // the server ended before it was ready
        if (c == '\n') return number;
        number.push_back(c);
    }
    return "";
}

}  // namespace

PrivateDisplay::PrivateDisplay(double seconds) {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(ready[0]);
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, STDIN_FILENO);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        const std::string fd = std::to_string(ready[1]);
        // -noreset: by default the server starts over whenever its last client leaves, and
        // refuses connections meanwhile; a probe for the window that leaves before the game
        // connects would then turn the game away.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    if (pid > 0) {
        const std::string number = readDisplayNumber(ready[0], seconds);
        if (!number.empty()) displayName = ":" + number;
    }
    close(ready[0]);
}

PrivateDisplay::~PrivateDisplay() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}
