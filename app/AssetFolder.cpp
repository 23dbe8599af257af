#include "app/AssetFolder.h"

#include "framework/ConsolePause.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Beside <prefix>/bin/qex, as the install lays it out.
const fs::path kInstalledDataFolder = fs::path("share") / "qex";

std::vector<fs::path> foldersToTry() {
    std::vector<fs::path> folders;
    std::error_code error;
    const fs::path workingDirectory = fs::current_path(error);
    if (!error) folders.push_back(workingDirectory);
    // The link names the real file, symlinks resolved, so /usr/bin/qex -> /opt/qex/bin/qex
    // finds /opt/qex/share/qex.
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) folders.push_back(executable.parent_path().parent_path() / kInstalledDataFolder);
    return folders;
}

bool holdsAssets(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "assets", error);
}

bool enter(const fs::path& folder) {
    std::error_code error;
    fs::current_path(folder, error);
    return !error;
}

std::string listed(const std::vector<fs::path>& folders) {
    std::string list;
    for (const fs::path& folder : folders) list += (list.empty() ? "" : " or ") + folder.string();
    return list;
}

}  // namespace

bool enterAssetFolder() {
    const std::vector<fs::path> folders = foldersToTry();
    for (const fs::path& folder : folders)
        if (holdsAssets(folder) && enter(folder)) return true;
    showFatalMessage("ERROR: No assets/ folder in " + listed(folders));
    return false;
}
