#include "atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

namespace sim {

namespace {

std::runtime_error file_error(const std::filesystem::path& path, const char* doing) {
    return std::runtime_error(path.string() + ": cannot " + doing + ": " + std::strerror(errno));
}

const char kTemporaryMark[] = ".saving-";

// The test switch SIMWIN_DIE_AFTER_BYTES=N: the process kills itself the moment its saves
// have written N bytes in all, counted over every save of the process in order, where
// replacing a file by its temporary one counts as one more byte after the file's last. So
// every point of every save can be hit: 0 is just after the first temporary file was
// made, a file's size is all its bytes written but the old file still in place.
class DeathSwitch {
public:
    // Takes the switch as it stands now. The count goes on from save to save while the
    // setting stays, and starts again from 0 when it changes (a forked test process sets
    // its own).
    void refresh() {
        const char* text = std::getenv("SIMWIN_DIE_AFTER_BYTES");
        std::string setting = text ? text : "";
        if (setting == setting_)
            return;
        setting_ = setting;
        counted_ = 0;
        limit_.reset();
        char* end = nullptr;
        unsigned long long n = std::strtoull(setting.c_str(), &end, 10);
        if (!setting.empty() && end && *end == '\0')
            limit_ = n;
    }

    // How many of `wanted` bytes may be written before the process dies.
    std::size_t allowed(std::size_t wanted) const {
        if (!limit_)
            return wanted;
        std::uint64_t left = *limit_ - counted_;
        return left < wanted ? static_cast<std::size_t>(left) : wanted;
    }

    // Counts what was done, and dies when the count reaches the limit.
    void count(std::size_t bytes) {
        counted_ += bytes;
        if (limit_ && counted_ >= *limit_)
            ::kill(::getpid(), SIGKILL);
    }

private:
    std::string setting_;
    std::optional<std::uint64_t> limit_;
    std::uint64_t counted_ = 0;
};

DeathSwitch& death_switch() {
    static DeathSwitch s;
    return s;
}

// Removes the temporary files that earlier saves of `path` left behind when their process
// died before the rename: "<name>.saving-<pid>" of a process that no longer runs. A file
// of a process still running is its save in progress, and stays.
void remove_stale_temporaries(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    const std::string prefix = path.filename().string() + kTemporaryMark;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string digits = name.substr(prefix.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
            continue;
        pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        std::error_code ignored;
        std::filesystem::remove(entry.path(), ignored);
    }
}

}  // namespace

std::optional<std::string> read_whole_file(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw file_error(path, "open");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw file_error(path, "read");
    return text;
}

void write_file_atomically(const std::filesystem::path& path, std::string_view text) {
    remove_stale_temporaries(path);
    std::filesystem::path temp = path;
    temp += kTemporaryMark + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw file_error(temp, "create");
    DeathSwitch& die = death_switch();
    die.refresh();
    die.count(0);
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, die.allowed(text.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            auto error = file_error(temp, "write");
            ::close(fd);
            ::unlink(temp.c_str());
            throw error;
        }
        done += static_cast<std::size_t>(n);
        die.count(static_cast<std::size_t>(n));
    }
    bool flushed = ::fsync(fd) == 0;
    if (::close(fd) != 0)
        flushed = false;
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
    die.count(1);
    // Make the rename itself durable.
    std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace sim
