#include "atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace sim {

namespace {

std::runtime_error file_error(const std::filesystem::path& path, const char* doing) {
    return std::runtime_error(path.string() + ": cannot " + doing + ": " + std::strerror(errno));
}

}  // namespace

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw file_error(path, "open");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw file_error(path, "read");
    return text;
}

void write_file_atomically(const std::filesystem::path& path, std::string_view text) {
    std::filesystem::path temp = path;
    temp += ".saving-" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw file_error(temp, "create");
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            auto error = file_error(temp, "write");
            ::close(fd);
            ::unlink(temp.c_str());
            throw error;
        }
        done += static_cast<std::size_t>(n);
    }
    bool flushed = ::fsync(fd) == 0;
    if (::close(fd) != 0) flushed = false;
    if (!flushed) {
        auto error = file_error(temp, "flush");
        ::unlink(temp.c_str());
        throw error;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        auto error = file_error(path, "replace");
        ::unlink(temp.c_str());
        throw error;
    }
    // Make the rename itself durable.
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace sim
