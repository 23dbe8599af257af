#include "support/RunningGame.h"

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

namespace {

// The boss's bar is drawn last, over everything, as (1, 0.2, 0.2) at 0.9 opacity. Its
// label and number fill the middle of its height; the strip along its top shows the bar
// alone (y 0.05..0.1).
const Screenshot::Region kBossHealthBar{0.06f, 0.052f, 0.94f, 0.059f};

bool isBossBarRed(const glm::u8vec3& p) { return p.r > 220 && p.g < 90 && p.b < 90; }

// Replaces the key's line, or adds one under the section's header.
void setWindowKey(std::string& ini, const std::string& key, const std::string& value) {
    const std::string line = key + " = " + value;
    const std::regex existing("^[ \\t]*" + key + "[ \\t]*=.*$", std::regex::multiline);
    if (std::regex_search(ini, existing))
        ini = std::regex_replace(ini, existing, line);
    else
        ini = std::regex_replace(ini, std::regex("^\\[window\\]$", std::regex::multiline),
                                 "[window]\n" + line);
}

}  // namespace

std::string waitForWindow(const std::string& title, double seconds, int processId,
                          const std::string& display) {
    const std::string onDisplay = display.empty() ? std::string() : "DISPLAY=" + display + " ";
    const std::string query = onDisplay + "xdotool search --all --pid " +
                              std::to_string(processId) + " --name '^" + title + "$' 2>/dev/null";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string id = runCommand(query);
        if (!id.empty()) return id.substr(0, id.find('\n'));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return "";
}

const std::filesystem::path& RunningGame::withBuildAssets(
    const TempDir& directory, const WindowSettings& windowSettings) {
    copyBuildAssets(directory.path());
    if (windowSettings.empty()) return directory.path();
    const std::filesystem::path file = directory.path() / "assets" / "settings.ini";
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    std::string ini = text.str();
    for (const auto& [key, value] : windowSettings) setWindowKey(ini, key, value);
    std::ofstream(file) << ini;
    return directory.path();
}

RunningGame::RunningGame(const WindowSettings& windowSettings, double windowTimeout)
    : process(withBuildAssets(dir, windowSettings), dir.path() / "out.log", display.name()) {
    if (display.ready())
        windowId = waitForWindow("Qex", windowTimeout, process.processId(), display.name());
}

bool RunningGame::reportedOpenGlErrors() const {
    return std::regex_search(output(), std::regex("OpenGL Error:.*Type = Error"));
}

std::string RunningGame::onDisplay(const std::string& command) const {
    return runCommand("DISPLAY=" + display.name() + " " + command + " 2>/dev/null");
}

Screenshot RunningGame::screenshot() const {
    // Uncompressed: encoding a PNG takes import ten times as long on a busy machine.
    const std::string file = (dir.path() / "screenshot.ppm").string();
    onDisplay("import -window " + windowId + " ppm:'" + file + "'");
    return Screenshot::fromFile(file);
}

Screenshot RunningGame::waitForFirstFrame(double seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        Screenshot shot = screenshot();
        if (showsFullBossHealthBar(shot)) return shot;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    return Screenshot();
}

void RunningGame::click(int count, int delayMs) const {
    onDisplay("xdotool click --repeat " + std::to_string(count) + " --delay " +
              std::to_string(delayMs) + " --window " + windowId + " 1");
}

void RunningGame::pressKey(const std::string& key) const {
    onDisplay("xdotool key --window " + windowId + " " + key);
}

void RunningGame::holdKey(const std::string& key) const {
    onDisplay("xdotool keydown --window " + windowId + " " + key);
}

void RunningGame::releaseKey(const std::string& key) const {
    onDisplay("xdotool keyup --window " + windowId + " " + key);
}

void RunningGame::resize(int width, int height) const {
    onDisplay("xdotool windowsize " + windowId + " " + std::to_string(width) + " " +
              std::to_string(height));
}

bool RunningGame::showsFullBossHealthBar(const Screenshot& shot) {
    return !shot.empty() && shot.fractionOf(kBossHealthBar, isBossBarRed) > 0.9f;
}

std::pair<int, int> RunningGame::size() const {
    const std::string info = onDisplay("xwininfo -id " + windowId);
    std::smatch width;
    std::smatch height;
    if (!std::regex_search(info, width, std::regex("Width: (\\d+)")) ||
        !std::regex_search(info, height, std::regex("Height: (\\d+)")))
        return {0, 0};
    return {std::stoi(width[1]), std::stoi(height[1])};
}
