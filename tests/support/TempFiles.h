#pragma once

#include <filesystem>
#include <string>

/// A fresh directory under the system's temporary folder, removed with its contents
/// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return root; }
    /// Writes `content` to `relativePath` (creating folders) and returns the full path.
    std::string write(const std::string& relativePath, const std::string& content) const;

private:
    std::filesystem::path root;
};

/// Writes an INI text to a temporary file that lives until the process ends.
std::string writeIni(const std::string& content);

/// Makes `directory` the working directory for the object's lifetime (the game reads
/// assets/ relative to it).
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::filesystem::path& directory);
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

private:
    std::filesystem::path previous;
};
