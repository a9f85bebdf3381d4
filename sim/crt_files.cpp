#include "crt_files.h"

#include <algorithm>
#include <cstring>

namespace sim {

int CrtFiles::open(std::string bytes, bool text) {
    int file = next_++;
    OpenFile& f = files_[file];
    f.bytes = std::move(bytes);
    f.text = text;
    return file;
}

OpenFile* CrtFiles::find(int file) {
    auto it = files_.find(file);
    return it == files_.end() ? nullptr : &it->second;
}

bool CrtFiles::close(int file) { return files_.erase(file) > 0; }

std::size_t read_text(OpenFile& file, char* buffer, std::size_t count) {
    if (file.at_end || count == 0) return 0;
    std::size_t available = file.bytes.size() - std::min(file.position, file.bytes.size());
    std::size_t taken = std::min(count, available);
    const char* raw = file.bytes.data() + file.position;
    file.position += taken;
    if (!file.text) {
        std::memcpy(buffer, raw, taken);
        return taken;
    }
    std::size_t out = 0;
    for (std::size_t i = 0; i < taken; i++) {
        char c = raw[i];
        if (c == '\x1A') {
            file.at_end = true;
            break;
        }
        if (c != '\r') {
            buffer[out++] = c;
        } else if (i + 1 < taken) {
            if (raw[i + 1] == '\n') {
                buffer[out++] = '\n';
                i++;
            } else {
                buffer[out++] = '\r';
            }
        } else if (file.position < file.bytes.size() && file.bytes[file.position] == '\n') {
            // The pair's line feed lies past what was taken: it is read in its place.
            buffer[out++] = '\n';
            file.position++;
        } else {
            buffer[out++] = '\r';
        }
    }
    return out;
}

}  // namespace sim
