// The C runtime's file numbers: files of the machine's drives opened for reading, with
// the text mode of Microsoft's runtime.
#pragma once

#include <cstddef>
#include <map>
#include <string>

namespace sim {

struct OpenFile {
    std::string bytes;      // the file as it was when opened
    std::size_t position = 0;
    bool text = true;
    bool at_end = false;    // a Ctrl-Z was met: every later read gives 0
};

class CrtFiles {
public:
    // A new file number (from 3, as 0 to 2 are the standard streams).
    int open(std::string bytes, bool text);
    OpenFile* find(int file);
    bool close(int file);

private:
    std::map<int, OpenFile> files_;
    int next_ = 3;
};

// Reads up to `count` bytes at the file's position into `buffer` and returns the number
// delivered, translating as the runtime's text mode does: the `count` bytes are taken
// from the file, then each CR LF pair becomes LF, a Ctrl-Z ends the data, and a CR that is
// the last byte taken is resolved by looking at the file's next byte: LF is taken in its
// place, anything else stays in the file for the next read.
std::size_t read_text(OpenFile& file, char* buffer, std::size_t count);

}  // namespace sim
