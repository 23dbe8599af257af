#include "app/AssetFolder.h"

#include "framework/ConsolePause.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// Beside <prefix>/bin/qex, as the install lays it out.
const fs::path kInstalledDataFolder = fs::path("share") / "qex";
// Written by the build into build/assets (CMakeLists.txt) and installed with the rest.
const char* const kMarker = "qex-assets.txt";

std::optional<fs::path> workingDirectory() {
    std::error_code error;
    const fs::path folder = fs::current_path(error);
    if (error) return std::nullopt;
    return folder;
}

// The link names the real file, symlinks resolved, so /usr/bin/qex -> /opt/qex/bin/qex
// finds /opt/qex/share/qex.
std::optional<fs::path> installedData() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (error) return std::nullopt;
    return executable.parent_path().parent_path() / kInstalledDataFolder;
}

bool holdsAnyAssets(const std::optional<fs::path>& folder) {
    std::error_code error;
    return folder && fs::is_directory(*folder / "assets", error);
}

bool holdsQexAssets(const std::optional<fs::path>& folder) {
    std::error_code error;
    return folder && fs::is_regular_file(*folder / "assets" / kMarker, error);
}

bool enter(const fs::path& folder) {
    std::error_code error;
    fs::current_path(folder, error);
    return !error;
}

std::string listed(const std::optional<fs::path>& first, const std::optional<fs::path>& second) {
    std::string list;
    for (const std::optional<fs::path>& folder : {first, second})
        if (folder) list += (list.empty() ? "" : " or ") + folder->string();
    return list;
}

// Called only when the working directory's data was not taken.
void sayWhyNotTheWorkingDirectory(const std::optional<fs::path>& working, const fs::path& taken) {
    if (!holdsAnyAssets(working)) return;
    std::cout << "Using the assets in " << taken.string() << ": " << (*working / "assets").string()
              << " is not Qex's (it has no " << kMarker << ")." << std::endl;
}

}  // namespace

bool enterAssetFolder() {
    const std::optional<fs::path> working = workingDirectory();
    const std::optional<fs::path> installed = installedData();
    if (holdsQexAssets(working) && enter(*working)) {
        if (holdsQexAssets(installed) && *installed != *working)
            std::cout << "Using the assets in " << working->string() << ", not the installed ones in "
                      << installed->string() << "." << std::endl;
        return true;
    }
    if (holdsQexAssets(installed) && enter(*installed)) {
        sayWhyNotTheWorkingDirectory(working, *installed);
        return true;
    }
    showFatalMessage(std::string("ERROR: No assets/ folder with Qex's ") + kMarker + " in " +
                     listed(working, installed));
    return false;
}
