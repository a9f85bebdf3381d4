// The settings file: what the thirteen values are for the texts a person may write.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "../sim/machine_fixture.h"
#include "link.h"

namespace {

using Values = std::array<int, 13>;

Values parsed(const std::string& text) {
    ParseSettingValues(text.data(), static_cast<int>(text.size()));
    Values v;
    for (int k = 0; k < 13; k++) v[k] = SettingValues[k];
    return v;
}

TEST(ParseSettingValues, EachTextAfterAnEqualsSign) {
    struct Case {
        const char* name;
        std::string text;
        Values want;
    };
    const Case cases[] = {
        {"5, then the line end", "a=5\n", {5}},
        {"two spaces, then 7", "a=  7", {7}},
        {"three digits read as two", "a=123", {12}},
        {"a leading zero", "a=099", {9}},
        {"minus sign, 5", "a=-5", {-5}},
        {"plus sign, 5", "a=+5", {5}},
        {"tab, 7", "a=\t7", {7}},
        {"tab, space, 7", "a=\t 7", {0}},
        {"x5", "a=x5", {0}},
        {"the line end, then a letter", "a=\nb", {0}},
        {"the line end, then 5", "a=\n5", {5}},
        {"equals sign, 5: two entries", "a==5", {0, 5}},
        {"an equals sign as the last byte", "a=", {0}},
        {"a digit as the last byte", "a=4", {4}},
        {"a chip code of three digits", "Chip=360", {36}},
        {"no entries", "just text", {}},
        {"a comment with an equals sign shifts the later entries", "; a=b\nChip=68\nMaster=1", {0, 68, 1}},
        {"a section and key names have no effect", "[mixtwin]\nChip=36\nMaster=7\n", {36, 7}},
        {"only the first 13 entries count", "=1=2=3=4=5=6=7=8=9=10=11=12=13=14", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parsed(c.text), c.want);
    }
}

TEST(ParseSettingValues, OnlyTheBytesDeliveredCount) {
    // The count ends the data: an entry ends where the data ends.
    const char text[] = "a=12b=7";
    ParseSettingValues(text, 3);
    EXPECT_EQ(SettingValues[0], 1);
    EXPECT_EQ(SettingValues[1], 0);
    ParseSettingValues(text, 0);
    EXPECT_EQ(SettingValues[0], 0);
}

class ReadSettings : public MachineTest {
protected:
    Values read(const std::string& file_text) {
        write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", file_text);
        start();
        ReadSettingValues();
        Values v;
        for (int k = 0; k < 13; k++) v[k] = SettingValues[k];
        return v;
    }
};

// Thirteen entries under a header, each line ending as `end` says.
std::string settings_file(const std::string& end, int first_entry_padding = 0) {
    std::string text = "[mixtwin]" + end + std::string(first_entry_padding, ';') + end;
    for (int k = 0; k < 13; k++) text += "V" + std::to_string(k) + "=" + std::to_string(k + 30) + end;
    return text;
}

TEST_F(ReadSettings, CarriageReturnsCountTowardsTheFirst200Bytes) {
    const Values all = {30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42};
    Values without_last = all;
    without_last[12] = 0;
    struct Case {
        const char* name;
        std::string text;
        Values want;
    };
    const Case cases[] = {
        {"LF line ends, all 13 in the window", settings_file("\n"), all},
        {"CR LF line ends, all 13 in the window", settings_file("\r\n"), all},
        // 13 lines of 7 or 8 bytes and a header: LF lines fit with 100 bytes of comment, CR LF lines do not.
        {"a long comment, LF line ends", settings_file("\n", 100), all},
        {"the same comment, CR LF line ends: the 13th entry falls out", settings_file("\r\n", 100), without_last},
        {"a Ctrl-Z ends the data", "a=1\nb=2\x1A\nc=3\n", {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.text), c.want);
    }
}

TEST(BytesEqual, ComparesExactlyCountBytes) {
    EXPECT_EQ(BytesEqual("Dream Sound Studio Mixer 2", "Dream Sound Studio Mixer", 24), 1);
    EXPECT_EQ(BytesEqual("Dream Sound Studio", "Dream Sound Studio Mixer", 24), 0);
    EXPECT_EQ(BytesEqual("a\0b", "a\0c", 3), 0) << "a terminating zero does not stop the comparison";
    EXPECT_EQ(BytesEqual("a", "b", 0), 1);
    EXPECT_EQ(BytesEqual("a", "b", -3), 1);
}

}  // namespace
