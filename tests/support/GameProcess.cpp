#include "support/GameProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool startsWith(const char* entry, const char* prefix) {
    return std::strncmp(entry, prefix, std::strlen(prefix)) == 0;
}

// The test's own environment, with DISPLAY replaced when `display` is given, and the
// game's records and player's settings kept in its working directory: a test never reads
// or writes the best times or the settings of whoever runs it.
std::vector<std::string> childEnvironment(const std::string& display, const fs::path& workingDirectory) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        if (!(startsWith(*entry, "DISPLAY=") && !display.empty()) &&
            !startsWith(*entry, "XDG_DATA_HOME=") && !startsWith(*entry, "XDG_CONFIG_HOME="))
            environment.emplace_back(*entry);
    if (!display.empty()) environment.push_back("DISPLAY=" + display);
    environment.push_back("XDG_DATA_HOME=" + fs::absolute(workingDirectory / "data").string());
    environment.push_back("XDG_CONFIG_HOME=" + fs::absolute(workingDirectory / "config").string());
    return environment;
}

// The null-terminated array execve takes; points into `strings`.
std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::string GameProcess::binary() {
    const char* fromCtest = std::getenv("QEX_GAME_BINARY");
    return fromCtest ? fromCtest : std::string(QEX_BUILD_DIR) + "/qex";
}

GameProcess::GameProcess(const fs::path& workingDirectory, const fs::path& log,
                         const std::string& display)
    : logPath(log) {
    const std::string program = binary();
    // Built before the fork: the child of a process with threads (llvmpipe's) may only
    // make async-signal-safe calls, and setenv can allocate.
    std::vector<std::string> environment = childEnvironment(display, workingDirectory);
    const std::vector<char*> envp = pointersTo(environment);
    // Straight into a match, past the title: the tests look at the fight.
    char difficultyOption[] = "--difficulty=normal";
    char* const argv[] = {const_cast<char*>(program.c_str()), difficultyOption, nullptr};
    pid = fork();
    if (pid != 0) return;
    // A test killed on timeout must not leave a game spinning on the shared display.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = open("/dev/null", O_RDONLY);
    dup2(out, STDOUT_FILENO);
    dup2(out, STDERR_FILENO);
    dup2(in, STDIN_FILENO);
    if (chdir(workingDirectory.c_str()) != 0) _exit(126);
    execve(program.c_str(), argv, envp.data());
    _exit(127);
}

GameProcess::~GameProcess() {
    if (pid <= 0) return;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::optional<int> GameProcess::waitForExit(double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::nullopt;
}

std::string GameProcess::output() const {
    std::ifstream in(logPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string runCommand(const std::string& command) {
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 512> chunk{};
    while (fgets(chunk.data(), static_cast<int>(chunk.size()), pipe)) result += chunk.data();
    pclose(pipe);
    return result;
}

void copyBuildAssets(const fs::path& directory) {
    fs::copy(fs::path(QEX_BUILD_DIR) / "assets", directory / "assets",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}
