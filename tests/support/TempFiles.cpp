#include "support/TempFiles.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    root = fs::temp_directory_path() /
           ("qex-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(root);
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::string TempDir::write(const std::string& relativePath, const std::string& content) const {
    const fs::path full = root / relativePath;
    fs::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << content;
    return full.string();
}

std::string writeIni(const std::string& content) {
    static std::vector<std::unique_ptr<TempDir>> keptAlive;
    keptAlive.push_back(std::make_unique<TempDir>());
    return keptAlive.back()->write("settings.ini", content);
}

ScopedWorkingDirectory::ScopedWorkingDirectory(const fs::path& directory)
    : previous(fs::current_path()) {
    fs::current_path(directory);
}

ScopedWorkingDirectory::~ScopedWorkingDirectory() {
    std::error_code ignored;
    fs::current_path(previous, ignored);
}
