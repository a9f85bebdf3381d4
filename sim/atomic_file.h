// Reading and writing the machine's own files.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The whole file, or nothing when it does not exist. Throws std::runtime_error naming the
// file when it exists but cannot be read.
std::optional<std::string> read_whole_file(const std::filesystem::path& path);

// Replaces the file so that a crash at any moment leaves either the old or the new whole
// file: the text goes to a temporary file in the same folder, is flushed to the disk, and
// is then renamed over the old one. A temporary file that an earlier save of the same file
// left behind when its process died is removed first. Throws std::runtime_error naming the
// file on failure, leaving the old file as it was. The test switch SIMWIN_DIE_AFTER_BYTES
// (see atomic_file.cpp) kills the process at a chosen point of its saves.
void write_file_atomically(const std::filesystem::path& path, std::string_view text);

}  // namespace sim
