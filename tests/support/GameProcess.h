#pragma once

#include <filesystem>
#include <optional>
#include <string>

/// The real game binary, started in a working directory of the test's choosing with
/// standard output going to a log file and standard input from /dev/null, on the
/// test's display or on `display` when one is given. Killed if it is still running when
/// the object goes, and also when the test process dies first.
class GameProcess {
public:
    GameProcess(const std::filesystem::path& workingDirectory, const std::filesystem::path& log,
                const std::string& display = std::string());
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    /// The exit status, or nothing when the process is still running after `seconds`.
    std::optional<int> waitForExit(double seconds);
    std::string output() const;
    /// The process id, for finding its window among others of the same title.
    int processId() const { return pid; }

    /// The path of the game executable the build made (set by CTest).
    static std::string binary();

private:
    int pid = -1;
    std::filesystem::path logPath;
};

/// Output of a shell command, e.g. xwininfo or xdotool.
std::string runCommand(const std::string& command);

/// Copies the build's assets/ tree into `directory` so a game can start there.
void copyBuildAssets(const std::filesystem::path& directory);
