#include "framework/WholeFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::error_code lastError() { return std::error_code(errno, std::generic_category()); }

// Owns a POSIX file descriptor; closing it reports nothing because every write that
// matters has been flushed with fsync first.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

std::error_code writeAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return lastError();
        written += static_cast<std::size_t>(n);
    }
    return {};
}

// The rename is only durable once the folder's entry is on the disk too.
std::error_code flushFolder(const fs::path& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) return lastError();
    return ::fsync(dir.get()) == 0 ? std::error_code() : lastError();
}

std::error_code writeAndRename(int fd, const fs::path& temporary, const fs::path& file,
                               const std::string& text) {
    if (const std::error_code error = writeAll(fd, text)) return error;
    if (::fsync(fd) != 0) return lastError();
    if (::rename(temporary.c_str(), file.c_str()) != 0) return lastError();
    return {};
}

}  // namespace

std::error_code readWholeFile(const fs::path& file, std::string& text) {
    text.clear();
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0) return lastError();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const std::error_code error = lastError();
            text.clear();
            return error;
        }
        if (n == 0) return {};
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

std::error_code replaceWholeFile(const fs::path& file, const std::string& text) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) return error;

    std::string pattern = file.string() + ".XXXXXX";  // mkstemp fills in the X's
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const Descriptor out(::mkostemp(name.data(), O_CLOEXEC));
    if (out.get() < 0) return lastError();
    const fs::path temporary(name.data());
    error = writeAndRename(out.get(), temporary, file, text);
    if (error) {
        ::unlink(temporary.c_str());
        return error;
    }
    return flushFolder(folder);
}
