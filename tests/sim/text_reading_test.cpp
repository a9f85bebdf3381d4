// The runtime's text-mode reading, read by read.
#include <gtest/gtest.h>

#include <vector>

#include "crt_files.h"

namespace {

TEST(TextReading, ReadsDeliverWhatTheRuntimeDelivers) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::size_t> reads;       // the count asked by each read
        std::vector<std::string> delivered;   // what each read gives
    };
    const Case cases[] = {
        {"CR LF becomes LF", "a\r\nb\r\n", {100}, {"a\nb\n"}},
        {"a lone CR is kept", "a\rb", {100}, {"a\rb"}},
        {"CR CR LF keeps the first CR", "a\r\r\nb", {100}, {"a\r\nb"}},
        {"LF alone stays", "a\nb", {100}, {"a\nb"}},
        {"the count asked is of file bytes", "ab\r\ncd", {4, 100}, {"ab\n", "cd"}},
        {"a CR last of the bytes taken, its LF next in the file", "ab\r\ncd", {3, 100}, {"ab\n", "cd"}},
        {"a CR last of the bytes taken, something else next", "ab\rcd", {3, 100}, {"ab\r", "cd"}},
        {"a CR at the very end", "ab\r", {3, 100}, {"ab\r", ""}},
        {"Ctrl-Z ends the data", "ab\x1A" "cd", {100, 100}, {"ab", ""}},
        {"Ctrl-Z right after a CR taken last", "ab\r\x1A" "cd", {3, 100}, {"ab\r", ""}},
        {"an empty file", "", {100}, {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::OpenFile file{c.file, 0, true, false};
        for (std::size_t i = 0; i < c.reads.size(); i++) {
            std::vector<char> buffer(c.reads[i] + 1, '#');
            std::size_t n = sim::read_text(file, buffer.data(), c.reads[i]);
            EXPECT_EQ(std::string(buffer.data(), n), c.delivered[i]) << "read " << i;
            EXPECT_EQ(buffer[c.reads[i]], '#') << "nothing is written past the count";
        }
    }
}

TEST(TextReading, BinaryModeDeliversTheBytes) {
    sim::OpenFile file{"a\r\nb\x1A" "c", 0, false, false};
    char buffer[16];
    EXPECT_EQ(sim::read_text(file, buffer, sizeof buffer), 6u);
    EXPECT_EQ(std::string(buffer, 6), "a\r\nb\x1A" "c");
}

}  // namespace
