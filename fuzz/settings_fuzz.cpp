// The volume link's settings reader over any bytes: every count from 0 to 200 bytes, read
// from a buffer of exactly that size so that a read past its end is caught.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int count = static_cast<int>(size < 200 ? size : 200);
    std::vector<char> bytes(data, data + count);
    ParseSettingValues(bytes.data(), count);
    // An entry is at most two characters read by atoi: a sign or digit, then a digit.
    for (int value : SettingValues) {
        if (value < -9 || value > 99)
            std::abort();
    }
    return 0;
}
