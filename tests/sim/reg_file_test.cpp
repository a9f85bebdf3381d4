#include "reg_file.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "error.h"

namespace sim {
namespace {

// The lines, each ended by `line_end`.
std::string text_of(std::initializer_list<std::string_view> lines, std::string_view line_end = "\n") {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += line_end;
    }
    return text;
}

// A file with one key, HKEY_LOCAL_MACHINE\K, holding the given lines from line 4 on.
std::string with_key(std::string_view value_lines) {
    return "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n" + std::string(value_lines) + "\n";
}

std::vector<std::string> paths_in_order(const Registry& reg) {
    std::vector<std::string> paths;
    for (const RegKey* key : reg.keys_in_order())
        paths.push_back(key->path());
    return paths;
}

TEST(RegFileErrors, NameTheLineAndWhatIsWrong) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        const char* message;
    };
    const Case cases[] = {
        {"empty file", "", 0, "the file is empty"},
        {"other header", "REGEDIT5\r\n\r\n", 1, "must be exactly REGEDIT4, found 'REGEDIT5'"},
        {"header in small letters", "regedit4\n", 1, "must be exactly REGEDIT4"},
        {"header with a blank after it", "REGEDIT4 \n", 1, "found 'REGEDIT4 '"},
        {"blank line before the header", "\nREGEDIT4\n", 1, "must be exactly REGEDIT4"},
        {"junk line", "REGEDIT4\n\n[HKEY_USERS\\A]\njunk\n", 4, "found 'junk'"},
        {"comment line", "REGEDIT4\n\n; note\n", 3, "expected a key line"},
        {"indented key line", "REGEDIT4\n\n [HKEY_USERS\\A]\n", 3, "expected a key line"},
        {"value before any key", "REGEDIT4\n\n\"a\"=\"b\"\n", 3, "value line stands before any key line"},
        {"key line without ']'", "REGEDIT4\n[HKEY_USERS\\A\n", 2, "has no closing ']'"},
        {"text after ']'", "REGEDIT4\n[HKEY_USERS\\A] x\n", 2, "unexpected text ' x' after ']'"},
        {"unknown root", "REGEDIT4\n[HKEY_LOCAL\\A]\n", 2, "unknown root key 'HKEY_LOCAL'"},
        {"short root name", "REGEDIT4\n[HKLM\\A]\n", 2, "unknown root key 'HKLM'"},
        {"no root", "REGEDIT4\n[]\n", 2, "unknown root key ''"},
        {"doubled backslash", "REGEDIT4\n[HKEY_USERS\\A\\\\B]\n", 2, "empty key name"},
        {"trailing backslash", "REGEDIT4\n[HKEY_USERS\\A\\]\n", 2, "empty key name"},
        {"backslash right after the root", "REGEDIT4\n[HKEY_USERS\\\\A]\n", 2, "empty key name"},
        {"root and backslash", "REGEDIT4\n[HKEY_USERS\\]\n", 2, "empty key name"},
        {"bad escape in text", with_key("\"a\"=\"x\\ny\""), 4, "bad escape '\\n' in string"},
        {"bad escape in name", with_key("\"a\\tb\"=\"x\""), 4, "bad escape '\\t' in string"},
        {"unterminated text", with_key("\"a\"=\"abc"), 4, "unterminated string"},
        {"text ends in backslash", with_key("\"a\"=\"abc\\"), 4, "unterminated string"},
        {"unterminated name", with_key("\"abc=\"x\""), 4, "expected '=' after the value name"},
        {"name without end", with_key("\"abc"), 4, "unterminated string"},
        {"text after the text", with_key("\"a\"=\"x\" y"), 4, "unexpected text ' y' after the closing quote"},
        {"blank before '='", with_key("\"a\" =\"x\""), 4, "expected '=' after the value name"},
        {"default without '='", with_key("@\"x\""), 4, "expected '=' after '@'"},
        {"unknown data", with_key("\"a\"=str:x"), 4, "unknown value data 'str:x'"},
        {"no data", with_key("\"a\"="), 4, "unknown value data ''"},
        {"dword of 7 digits", with_key("\"a\"=dword:0000001"), 4, "exactly 8 hex digits, found '0000001'"},
        {"dword of 9 digits", with_key("\"a\"=dword:000000001"), 4, "exactly 8 hex digits"},
        {"dword not hex", with_key("\"a\"=dword:0000000g"), 4, "exactly 8 hex digits, found '0000000g'"},
        {"dword with a sign", with_key("\"a\"=dword:-0000001"), 4, "exactly 8 hex digits"},
        {"hex byte not hex", with_key("\"a\"=hex:01,0g"), 4, "hex byte '0g' is not hexadecimal"},
        {"hex byte of one digit", with_key("\"a\"=hex:1,02"), 4, "hex byte '1' is not two hex digits"},
        {"hex byte of three digits", with_key("\"a\"=hex:012"), 4, "unexpected text '2' after hex byte '01'"},
        {"empty hex byte", with_key("\"a\"=hex:01,,02"), 4, "missing hex byte between commas"},
        {"hex list ends in a comma", with_key("\"a\"=hex:01,"), 4, "ends with ','"},
        {"junk after the hex list", with_key("\"a\"=hex:01,02 x"), 4,
         "unexpected text ' x' after hex byte '02'"},
        {"continuation without comma", with_key("\"a\"=hex:01\\\n  02"), 4, "only after a comma"},
        {"continuation at the end", "REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=hex:01,\\", 3,
         "missing continuation line"},
        {"continuation at the end after a line end", with_key("\"a\"=hex:01,\\"), 4,
         "missing continuation line"},
        {"blank continuation line", with_key("\"a\"=hex:01,\\\n   \n"), 5, "continuation line is empty"},
        {"bad byte on a continuation line", with_key("\"a\"=hex:01,\\\n  02,\\\n  0g"), 6,
         "hex byte '0g' is not hexadecimal"},
        {"empty type", with_key("\"a\"=hex():01"), 4, "must be a hex number"},
        {"type not hex", with_key("\"a\"=hex(z):01"), 4, "must be a hex number"},
        {"type too long", with_key("\"a\"=hex(100000000):01"), 4, "must be a hex number of 1 to 8 digits"},
        {"type without ')'", with_key("\"a\"=hex(2:01"), 4, "must be a hex number"},
        {"type without ':'", with_key("\"a\"=hex(2)01"), 4, "expected ':' after 'hex(2)'"},
        {"NUL byte in text", with_key(std::string("\"a\"=\"x\0y\"", 9)), 4, "NUL byte"},
        {"NUL byte in the header", std::string("R\0E\0G\0\n", 7), 1, "NUL byte"},
        {"carriage return inside a line", with_key("\"a\"=\"x\ry\""), 4, "carriage return"},
        {"line numbers count continuation and blank lines",
         with_key("\"a\"=hex:01,\\\n  02\n\n\"b\"=dword:1"), 7, "exactly 8 hex digits"},
        {"line numbers in a CR LF file", "REGEDIT4\r\n\r\n[HKEY_USERS\\A]\r\n\r\n\"a\"=hex:0g\r\n", 5,
         "hex byte '0g'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            load_reg_file(c.text, "test.reg");
            ADD_FAILURE() << "loaded without an error";
        } catch (const InputError& e) {
            EXPECT_EQ(e.file(), "test.reg");
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(RegFileErrors, MessageStartsWithFileAndLine) {
    try {
        load_reg_file(with_key("\"a\"=hex:0g"), "registry.reg");
        FAIL() << "loaded without an error";
    } catch (const InputError& e) {
        EXPECT_STREQ(e.what(), "registry.reg:4: hex byte '0g' is not hexadecimal");
    }
}

TEST(RegFileValues, EachFormGivesItsTypeAndData) {
    struct Case {
        const char* name;
        std::string lines;
        std::string value_name;
        std::uint32_t type;
        std::string data;
    };
    const Case cases[] = {
        {"string", "\"a\"=\"text\"", "a", kRegSz, std::string("text\0", 5)},
        {"empty string", "\"a\"=\"\"", "a", kRegSz, std::string("\0", 1)},
        {"default value", "@=\"x\"", "", kRegSz, std::string("x\0", 2)},
        {"empty name is the default value", "\"\"=\"x\"", "", kRegSz, std::string("x\0", 2)},
        {"escapes", "\"q\\\"uo\\\\te\"=\"a\\\\b\\\"c\"", "q\"uo\\te", kRegSz, std::string("a\\b\"c\0", 6)},
        {"quotes, '=' and ';' inside", "\"a=b\"=\"c;d=\\\"\"", "a=b", kRegSz, std::string("c;d=\"\0", 6)},
        {"code page 1252 bytes", "\"caf\xe9\"=\"\x80\xff\x01\"", "caf\xe9", kRegSz,
         std::string("\x80\xff\x01\0", 4)},
        {"dword", "\"a\"=dword:0000002a", "a", kRegDword, std::string("\x2a\0\0\0", 4)},
        {"dword in mixed case", "\"a\"=dword:DEADbeef", "a", kRegDword, "\xef\xbe\xad\xde"},
        {"binary", "\"a\"=hex:00,ff,7F", "a", kRegBinary, std::string("\0\xff\x7f", 3)},
        {"empty binary", "\"a\"=hex:", "a", kRegBinary, ""},
        {"typed hex", "\"a\"=hex(2):25,41,25,00", "a", 2, std::string("%A%\0", 4)},
        {"string as hex takes no added zero", "\"a\"=hex(1):41,42", "a", kRegSz, "AB"},
        {"short dword as hex", "\"a\"=hex(4):01,02", "a", kRegDword, "\x01\x02"},
        {"type 0", "\"a\"=hex(0):", "a", 0, ""},
        {"type in capitals", "\"a\"=hex(7FFFFFFF):01", "a", 0x7fffffffu, "\x01"},
        {"largest type", "\"a\"=hex(ffffffff):01", "a", 0xffffffffu, "\x01"},
        {"continued hex list", "\"a\"=hex:01,02,\\\n  03,\\\n\t04", "a", kRegBinary, "\x01\x02\x03\x04"},
        {"continuation right after the colon", "\"a\"=hex:\\\n  01", "a", kRegBinary, "\x01"},
        {"continued typed list", "\"a\"=hex(7):41,00,\\\n    00", "a", 7, std::string("A\0\0", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Registry reg = load_reg_file(with_key(c.lines), "test.reg");
        const RegKey* key = reg.find(reg.root(Root::LocalMachine), "K");
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(key->values.size(), 1u);
        const RegValue& v = key->values[0];
        EXPECT_EQ(v.name, c.value_name);
        EXPECT_EQ(v.type, c.type);
        EXPECT_EQ(v.data, c.data);
        EXPECT_EQ(v.raw, c.lines);
    }
}

TEST(RegFileLoad, KeepsTheTextOfKeysAndValues) {
    Registry reg = load_reg_file(text_of({
                                     "REGEDIT4",
                                     "",
                                     "[hkey_local_machine\\Software\\Acme]",
                                     "\"Blob\"=hex:01,\\",
                                     "\t02",
                                     "@=dword:FFFFFFFF",
                                 }),
                                 "test.reg");
    const RegKey* acme = reg.find(reg.root(Root::LocalMachine), "SOFTWARE\\ACME");
    ASSERT_NE(acme, nullptr);
    EXPECT_TRUE(acme->listed);
    EXPECT_EQ(acme->raw, "[hkey_local_machine\\Software\\Acme]");
    EXPECT_EQ(acme->path(), "HKEY_LOCAL_MACHINE\\Software\\Acme");
    ASSERT_EQ(acme->values.size(), 2u);
    EXPECT_EQ(acme->values[0].raw, "\"Blob\"=hex:01,\\\n\t02");
    EXPECT_EQ(acme->values[1].raw, "@=dword:FFFFFFFF");

    const RegKey* software = acme->parent;
    EXPECT_FALSE(software->listed);
    EXPECT_EQ(software->raw, "");
    EXPECT_FALSE(reg.changed());
}

TEST(RegFileLoad, ValueNamedAgainReplacesTheEarlierInItsPlace) {
    Registry reg = load_reg_file(with_key("\"a\"=\"1\"\n\"b\"=\"2\"\n\"A\"=dword:00000003"), "test.reg");
    const RegKey* key = reg.find(reg.root(Root::LocalMachine), "K");
    ASSERT_EQ(key->values.size(), 2u);
    EXPECT_EQ(key->values[0].raw, "\"A\"=dword:00000003");
    EXPECT_EQ(key->values[0].type, kRegDword);
    EXPECT_EQ(key->values[1].name, "b");
    EXPECT_EQ(reg.value(*key, "a"), &key->values[0]);
}

TEST(RegFileLoad, ValueNamedAgainInAKeyWithManyValues) {
    // 40 values, then names given again from early in the key and from past its 32nd value,
    // in a second section of the same key.
    std::string text = "REGEDIT4\n[HKEY_USERS\\K]\n";
    for (int i = 0; i < 40; i++)
        text += "\"v" + std::to_string(i) + "\"=dword:00000000\n";
    text +=
        "[HKEY_USERS\\Other]\n[hkey_users\\k]\n\"V0\"=\"a\"\n\"V35\"=\"b\"\n\"New\"=\"c\"\n\"v0\"=\"d\"\n";
    Registry reg = load_reg_file(text, "test.reg");
    const RegKey* key = reg.find(reg.root(Root::Users), "K");
    ASSERT_EQ(key->values.size(), 41u);
    EXPECT_EQ(key->values[0].raw, "\"v0\"=\"d\"");
    EXPECT_EQ(key->values[35].raw, "\"V35\"=\"b\"");
    EXPECT_EQ(key->values[36].name, "v36");
    EXPECT_EQ(key->values[40].raw, "\"New\"=\"c\"");
}

TEST(RegFileLoad, KeyListedAgainMergesIntoTheFirst) {
    Registry reg = load_reg_file(text_of({
                                     "REGEDIT4",
                                     "[HKEY_CURRENT_USER\\Key]",
                                     "\"a\"=\"1\"",
                                     "[HKEY_CURRENT_USER\\Other]",
                                     "[hkey_current_user\\KEY]",
                                     "\"b\"=\"2\"",
                                     "\"A\"=\"3\"",
                                 }),
                                 "test.reg");
    const RegKey* key = reg.find(reg.root(Root::CurrentUser), "key");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->name, "Key");
    EXPECT_EQ(key->raw, "[HKEY_CURRENT_USER\\Key]");
    ASSERT_EQ(key->values.size(), 2u);
    EXPECT_EQ(key->values[0].data, std::string("3\0", 2));
    EXPECT_EQ(key->values[1].data, std::string("2\0", 2));
    EXPECT_EQ(paths_in_order(reg),
              (std::vector<std::string>{"HKEY_CURRENT_USER\\Key", "HKEY_CURRENT_USER\\Other"}));
}

TEST(RegFileLoad, KeyOrderFollowsTheSectionsWithUnlistedParentsBeforeTheirChildren) {
    Registry reg = load_reg_file(text_of({
                                     "REGEDIT4",
                                     "[HKEY_LOCAL_MACHINE\\A\\B\\C]",
                                     "[HKEY_CLASSES_ROOT\\.txt]",
                                     "[HKEY_LOCAL_MACHINE\\A\\B]",
                                     "[HKEY_LOCAL_MACHINE\\A\\X]",
                                     "[HKEY_LOCAL_MACHINE\\Z\\Y]",
                                 }),
                                 "test.reg");
    EXPECT_EQ(paths_in_order(reg), (std::vector<std::string>{
                                       "HKEY_LOCAL_MACHINE\\A",
                                       "HKEY_LOCAL_MACHINE\\A\\B\\C",
                                       "HKEY_CLASSES_ROOT\\.txt",
                                       "HKEY_LOCAL_MACHINE\\A\\B",
                                       "HKEY_LOCAL_MACHINE\\A\\X",
                                       "HKEY_LOCAL_MACHINE\\Z",
                                       "HKEY_LOCAL_MACHINE\\Z\\Y",
                                   }));
}

TEST(RegFileLoad, LineEndOfTheFile) {
    struct Case {
        const char* name;
        std::string text;
        std::string line_end;
    };
    const Case cases[] = {
        {"CR LF", "REGEDIT4\r\n\r\n[HKEY_USERS\\A]\r\n", "\r\n"},
        {"LF", "REGEDIT4\n\n[HKEY_USERS\\A]\n", "\n"},
        {"header line decides", "REGEDIT4\n[HKEY_USERS\\A]\r\n", "\n"},
        {"header alone", "REGEDIT4", "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(load_reg_file(c.text, "test.reg").line_end, c.line_end);
    }
}

// A file as the registry editor writes it: every key listed parent first, a blank line
// after the header and after each key, hex lists wrapped with two-space continuations.
const std::string kEditorFile = text_of(
    {
        "REGEDIT4",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE]",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme]",
        "@=\"Acme Tools\"",
        "\"Path\"=\"C:\\\\Program Files\\\\Acme\"",
        "\"Quote\"=\"say \\\"hi\\\"\"",
        "\"Count\"=dword:0000000c",
        "\"Flags\"=hex:00,01,02",
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\",
        "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\",
        "  2f,30,31",
        "\"Expand\"=hex(2):25,57,49,4e,44,49,52,25,00",
        "\"Caf\xe9\"=\"\xe9t\xe9\"",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme\\Empty]",
        "",
        "[HKEY_CURRENT_USER]",
        "\"RootValue\"=\"r\"",
        "",
        "[HKEY_CURRENT_USER\\Control Panel]",
        "",
        "[HKEY_CURRENT_USER\\Control Panel\\Desktop]",
        "\"Wallpaper\"=\"(None)\"",
        "",
    },
    "\r\n");

TEST(RegFileRoundTrip, EditorFileIsSavedByteForByte) {
    Registry reg = load_reg_file(kEditorFile, "test.reg");
    EXPECT_EQ(save_reg_file(reg), kEditorFile);

    std::string lf = kEditorFile;
    for (std::size_t at; (at = lf.find("\r\n")) != std::string::npos;)
        lf.erase(at, 1);
    Registry lf_reg = load_reg_file(lf, "test.reg");
    EXPECT_EQ(save_reg_file(lf_reg), lf);
}

TEST(RegFileRoundTrip, MessyFilesAreStableAfterTheFirstSave) {
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"LF file without blank lines", "REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=\"1\"\n[HKEY_USERS\\B]\n"},
        {"parents not listed",
         "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\r\n@=\"c\"\r\n[HKEY_USERS\\X\\Y]\r\n"},
        {"parent listed after its child",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B]\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"1\"\n"},
        {"middle key listed after its child",
         "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B\\C]\n[HKEY_LOCAL_MACHINE\\A\\B]\n[HKEY_LOCAL_MACHINE\\A\\X]\n"},
        {"duplicate sections and values",
         "REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=\"1\"\n[HKEY_USERS\\B]\n[HKEY_USERS\\a]\n\"A\"=\"2\"\n\"b\"="
         "\"3\"\n"},
        {"odd case", "REGEDIT4\n[hkey_users\\MiXeD\\sub]\n[HKEY_USERS\\mixed]\n\"NaMe\"=dword:ABCDEF01\n"},
        {"blank lines everywhere, no final line end",
         "REGEDIT4\n\n\n[HKEY_USERS\\A]\n\n\"a\"=\"1\"\n  "
         "\n\t\n\"b\"=hex:01,\\\n\t\t02\n\n\n[HKEY_USERS\\B]"},
        {"root sections", "REGEDIT4\n[HKEY_USERS\\A]\n[HKEY_CLASSES_ROOT]\n@=\"x\"\n[hkey_users]\n"},
        {"header alone", "REGEDIT4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string first = save_reg_file(load_reg_file(c.text, "test.reg"));
        Registry again = load_reg_file(first, "first.reg");
        EXPECT_FALSE(again.changed());
        EXPECT_EQ(save_reg_file(again), first);
    }
}

TEST(RegFileRoundTrip, FirstSaveWritesUnlistedParentsAndKeepsTheRest) {
    Registry reg = load_reg_file(text_of({
                                     "REGEDIT4",
                                     "[HKEY_LOCAL_MACHINE\\A\\B]",
                                     "\"x\"=hex:01,\\",
                                     "\t02",
                                     "[hkey_local_machine\\a]",
                                 }),
                                 "test.reg");
    EXPECT_EQ(save_reg_file(reg), text_of(
                                      {
                                          "REGEDIT4",
                                          "",
                                          "[HKEY_LOCAL_MACHINE\\A\\B]",
                                          "\"x\"=hex:01,\\",
                                          "\t02",
                                          "",
                                          "[hkey_local_machine\\a]",
                                          "",
                                      },
                                      "\n"));

    Registry unlisted = load_reg_file("REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\B]\n", "test.reg");
    EXPECT_EQ(save_reg_file(unlisted),
              "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\n[HKEY_LOCAL_MACHINE\\A\\B]\n\n");
}

TEST(RegFileSave, ChangedValuesAreWrittenAnewAndTheRestAsRead) {
    Registry reg = load_reg_file(text_of({
                                     "REGEDIT4",
                                     "",
                                     "[HKEY_LOCAL_MACHINE\\K]",
                                     "\"Odd\"=hex:01,\\",
                                     "      02",
                                     "\"Count\"=dword:DEADBEEF",
                                     "\"Gone\"=\"x\"",
                                     "",
                                     "[HKEY_LOCAL_MACHINE\\K\\Dead]",
                                     "\"v\"=\"1\"",
                                     "",
                                 }),
                                 "test.reg");
    RegKey* k = reg.find(reg.root(Root::LocalMachine), "K");
    reg.set_value(*k, "count", kRegDword, std::string("\x01\0\0\0", 4));
    reg.delete_value(*k, "Gone");
    reg.set_value(*k, "New", kRegSz, std::string("n\0", 2));
    reg.delete_tree(*reg.find(k, "Dead"));
    reg.create(reg.root(Root::CurrentUser), "Fresh\\Key");
    reg.set_value(*reg.root(Root::Users), "RootValue", kRegBinary, "\x7f");
    EXPECT_EQ(save_reg_file(reg), text_of({
                                      "REGEDIT4",
                                      "",
                                      "[HKEY_LOCAL_MACHINE\\K]",
                                      "\"Odd\"=hex:01,\\",
                                      "      02",
                                      "\"Count\"=dword:00000001",
                                      "\"New\"=\"n\"",
                                      "",
                                      "[HKEY_CURRENT_USER\\Fresh]",
                                      "",
                                      "[HKEY_CURRENT_USER\\Fresh\\Key]",
                                      "",
                                      "[HKEY_USERS]",
                                      "\"RootValue\"=hex:7f",
                                      "",
                                  }));
}

TEST(RegFileSave, ValueForms) {
    struct Case {
        const char* name;
        std::string value_name;
        std::uint32_t type;
        std::string data;
        std::string line;
    };
    const Case cases[] = {
        {"string", "Path", kRegSz, std::string("C:\\\"x\"\0", 7), "\"Path\"=\"C:\\\\\\\"x\\\"\""},
        {"name escapes", "a\\\"b", kRegSz, std::string("\0", 1), "\"a\\\\\\\"b\"=\"\""},
        {"default value", "", kRegSz, std::string("d\0", 2), "@=\"d\""},
        {"code page 1252 text", "\xe9", kRegSz, std::string("\x80\xff\0", 3), "\"\xe9\"=\"\x80\xff\""},
        {"string without its zero", "s", kRegSz, "ab", "\"s\"=hex(1):61,62"},
        {"string with a zero inside", "s", kRegSz, std::string("a\0b\0", 4), "\"s\"=hex(1):61,00,62,00"},
        {"string with a line break", "s", kRegSz, std::string("a\nb\0", 4), "\"s\"=hex(1):61,0a,62,00"},
        {"empty string data", "s", kRegSz, "", "\"s\"=hex(1):"},
        {"dword", "d", kRegDword, std::string("\x0c\0\0\xf0", 4), "\"d\"=dword:f000000c"},
        {"short dword", "d", kRegDword, "\x01\x02", "\"d\"=hex(4):01,02"},
        {"long dword", "d", kRegDword, "\x01\x02\x03\x04\x05", "\"d\"=hex(4):01,02,03,04,05"},
        {"binary", "b", kRegBinary, std::string("\0\xab", 2), "\"b\"=hex:00,ab"},
        {"empty binary", "b", kRegBinary, "", "\"b\"=hex:"},
        {"expandable string", "e", 2, std::string("%A%\0", 4), "\"e\"=hex(2):25,41,25,00"},
        {"type 0", "n", 0, "\x01", "\"n\"=hex(0):01"},
        {"large type", "t", 0x1234abcdu, "\x01", "\"t\"=hex(1234abcd):01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Registry reg;
        RegKey& key = *reg.create(reg.root(Root::LocalMachine), "K");
        reg.set_value(key, c.value_name, c.type, c.data);
        std::string saved = save_reg_file(reg);
        EXPECT_EQ(saved, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n" + c.line + "\r\n\r\n");

        Registry back = load_reg_file(saved, "saved.reg");
        const RegValue* v = back.value(*back.find(back.root(Root::LocalMachine), "K"), c.value_name);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->type, c.type);
        EXPECT_EQ(v->data, c.data);
    }
}

TEST(RegFileSave, LongHexListsAreWrappedAfterTheCommaPastColumn76) {
    struct Case {
        const char* name;
        std::string value_name;
        int size;
        std::string value_text;
    };
    const Case cases[] = {
        {"three lines", "a", 60,
         "\"a\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
         "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\n"
         "  30,31,32,33,34,35,36,37,38,39,3a,3b\n"},
        // After the 22nd comma the line is exactly 76 characters long: not past, no break.
        {"line of exactly 76", "abc", 24,
         "\"abc\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
         "  17\n"},
        {"short list stays on one line", "a", 3, "\"a\"=hex:00,01,02\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes;
        for (int i = 0; i < c.size; i++)
            bytes += static_cast<char>(i);
        Registry reg;
        reg.line_end = "\n";
        reg.set_value(*reg.create(reg.root(Root::LocalMachine), "K"), c.value_name, kRegBinary, bytes);
        std::string saved = save_reg_file(reg);
        EXPECT_EQ(saved, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\K]\n" + c.value_text + "\n");

        Registry back = load_reg_file(saved, "saved.reg");
        EXPECT_EQ(back.value(*back.find(back.root(Root::LocalMachine), "K"), c.value_name)->data, bytes);
        EXPECT_EQ(save_reg_file(back), saved);
    }
}

TEST(RegFileSave, NamesTheFileCannotHoldAreRefused) {
    struct Case {
        const char* name;
        std::string key_name;
        std::string value_name;
    };
    const Case cases[] = {
        {"line break in a value name", "K", "a\nb"},
        {"carriage return in a value name", "K", "a\rb"},
        {"NUL in a value name", "K", std::string("a\0b", 3)},
        {"line break in a key name", "K\nL", "v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Registry reg;
        RegKey& key = *reg.create(reg.root(Root::LocalMachine), c.key_name);
        reg.set_value(key, c.value_name, kRegBinary, "");
        EXPECT_THROW(save_reg_file(reg), std::invalid_argument);
    }
}

}  // namespace
}  // namespace sim
