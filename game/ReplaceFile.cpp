#include "game/ReplaceFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The reason is read at once: any later call may overwrite errno.
bool fail(std::string& why, int code) {
    why = std::strerror(code);
    return false;
}

bool writeAll(int fd, const std::vector<std::uint8_t>& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

}  // namespace

bool replaceFile(const fs::path& file, const std::vector<std::uint8_t>& bytes, std::string& why) {
    std::error_code error;
    const fs::path folder = file.parent_path();
    if (!folder.empty()) fs::create_directories(folder, error);
    if (error) {
        why = error.message();
        return false;
    }
    const fs::path temporary = fs::path(file) += ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail(why, errno);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return fail(why, code);
    }
    if (::close(fd) != 0) return fail(why, errno);
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        return fail(why, code);
    }
    if (!syncFolder(folder)) return fail(why, errno);
    return true;
}
