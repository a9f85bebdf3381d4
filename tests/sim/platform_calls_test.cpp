// The kernel, C runtime and registry calls, made directly on a small machine.
#include <gtest/gtest.h>

#include "machine_fixture.h"
#include "platform_api.h"

namespace {

class RegistryCalls : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        write("registry.reg",
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Card]\r\n\"Name\"=\"Velmora\"\r\n"
              "\"Size\"=dword:00000014\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Card\\Sub]\r\n\r\n");
        start();
    }
};

TEST_F(RegistryCalls, AValueThatDoesNotFitLeavesTheBufferAlone) {
    struct Case {
        const char* name;
        DWORD size;
        LONG want;
        DWORD want_size;
        const char* want_buffer;
    };
    const Case cases[] = {
        {"room for the text and its terminator", 8, ERROR_SUCCESS, 8, "Velmora"},
        {"more room than needed", 20, ERROR_SUCCESS, 8, "Velmora"},
        {"no room for the terminator", 7, ERROR_MORE_DATA, 8, "xxxxxxxxxxxxxxx"},
        {"no room at all", 0, ERROR_MORE_DATA, 8, "xxxxxxxxxxxxxxx"},
    };
    HKEY key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\card", 0, KEY_READ, &key), ERROR_SUCCESS);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[16] = "xxxxxxxxxxxxxxx";
        DWORD size = c.size;
        EXPECT_EQ(RegQueryValueExA(key, "name", NULL, NULL, reinterpret_cast<LPBYTE>(buffer), &size), c.want);
        EXPECT_EQ(size, c.want_size);
        EXPECT_STREQ(buffer, c.want_buffer);
    }
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Size", NULL, &type, NULL, &size), ERROR_SUCCESS) << "a size query needs no buffer";
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegQueryValueExA(key, "Missing", NULL, NULL, NULL, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, KeysOpenCloseAndGo) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr) << "a failed open gives no handle";
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);

    HKEY sub, card;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Card\\Sub", 0, KEY_READ, &sub), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Card", 0, KEY_SET_VALUE, &card), ERROR_SUCCESS);
    EXPECT_NE(sub, card);
    EXPECT_EQ(RegDeleteValueA(card, "NAME"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(card, "Name"), ERROR_FILE_NOT_FOUND);

    // The whole tree goes, and handles into it see that their key was deleted.
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Card"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Card"), ERROR_FILE_NOT_FOUND);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(sub, "x", NULL, NULL, NULL, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(sub), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(card), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED) << "a root stays";
    EXPECT_TRUE(sim::machine().registry.changed());
}

class FileCalls : public MachineTest {};

TEST_F(FileCalls, DirectoriesAreGivenOnlyWhenTheyFit) {
    write("machine.ini", "[System]\r\nWindowsDirectory=C:\\WIN\r\n");
    start();
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 6), 7u) << "the size needed, terminator included";
    EXPECT_STREQ(buffer, "xxxxxxx");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 7), 6u) << "the length, when it fits with its terminator";
    EXPECT_STREQ(buffer, "C:\\WIN");
    EXPECT_EQ(GetSystemDirectoryA(buffer, 8), 18u);
    EXPECT_STREQ(buffer, "C:\\WIN");
}

TEST_F(FileCalls, DeletionRefusesWhatWindowsRefuses) {
    write("machine.ini", "[Files]\r\nC:\\WINDOWS\\busy.exe=in-use\r\nc:\\windows\\KEEP.TXT=read-only\r\n");
    write("drive_c/WINDOWS/BUSY.EXE", "x");
    write("drive_c/WINDOWS/keep.txt", "x");
    write("drive_c/WINDOWS/Gone.Txt", "x");
    write("drive_c/WINDOWS/SUB/file", "x");
    write("outside.txt", "x");
    start();
    struct Case {
        const char* name;
        const char* path;
        BOOL want;
        DWORD error;
    };
    const Case cases[] = {
        {"a file in use", "C:\\WINDOWS\\BUSY.EXE", FALSE, ERROR_SHARING_VIOLATION},
        {"a read-only file", "C:\\WINDOWS\\keep.txt", FALSE, ERROR_ACCESS_DENIED},
        {"a folder", "C:\\WINDOWS\\SUB", FALSE, ERROR_ACCESS_DENIED},
        {"a missing file", "C:\\WINDOWS\\none.txt", FALSE, ERROR_FILE_NOT_FOUND},
        {"a missing folder", "C:\\NOWHERE\\none.txt", FALSE, ERROR_PATH_NOT_FOUND},
        {"out of the drive by ..", "C:\\..\\outside.txt", FALSE, ERROR_FILE_NOT_FOUND},
        {"another drive", "D:\\WINDOWS\\gone.txt", FALSE, ERROR_FILE_NOT_FOUND},
        {"a UNC name", "\\\\HOST\\SHARE\\gone.txt", FALSE, ERROR_FILE_NOT_FOUND},
        {"a host path", "/etc/hostname", FALSE, ERROR_FILE_NOT_FOUND},
        {"any case of a file", "c:\\windows\\GONE.TXT", TRUE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DeleteFileA(c.path), c.want);
        if (!c.want) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    EXPECT_FALSE(exists("drive_c/WINDOWS/Gone.Txt"));
    EXPECT_TRUE(exists("outside.txt"));
    EXPECT_TRUE(exists("drive_c/WINDOWS/BUSY.EXE"));
    EXPECT_EQ(_unlink("C:\\WINDOWS\\BUSY.EXE"), -1);
    EXPECT_EQ(_unlink("C:\\WINDOWS\\SUB\\FILE"), 0);
}

TEST_F(FileCalls, SymbolicLinksLeadNowhere) {
    write("outside/secret.txt", "x");
    std::filesystem::create_directories(folder_ / "drive_c/WINDOWS");
    std::filesystem::create_directory_symlink(folder_ / "outside", folder_ / "drive_c/WINDOWS/LINKED");
    std::filesystem::create_symlink(folder_ / "outside/secret.txt", folder_ / "drive_c/WINDOWS/FILE.LNK");
    start();
    EXPECT_FALSE(DeleteFileA("C:\\WINDOWS\\LINKED\\secret.txt"));
    EXPECT_FALSE(DeleteFileA("C:\\WINDOWS\\FILE.LNK"));
    EXPECT_EQ(_sopen("C:\\WINDOWS\\LINKED\\secret.txt", _O_RDONLY | _O_TEXT, _SH_DENYNO), -1);
    EXPECT_TRUE(exists("outside/secret.txt"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder_ / "drive_c/WINDOWS/FILE.LNK"));
}

TEST_F(FileCalls, TextModeReadingAsTheRuntimeDoesIt) {
    write("drive_c/A.TXT", "a=1\r\nb=2\rc\x1A" "after");
    start();
    int file = _sopen("C:\\a.txt", _O_RDONLY | _O_TEXT, _SH_DENYNO);
    ASSERT_GE(file, 3);
    char data[32];
    EXPECT_EQ(_read(file, data, sizeof data), 9);
    EXPECT_EQ(std::string(data, 9), "a=1\nb=2\rc");
    EXPECT_EQ(_read(file, data, sizeof data), 0) << "Ctrl-Z ends the data for good";
    EXPECT_EQ(_close(file), 0);
    EXPECT_EQ(_close(file), -1);
    EXPECT_EQ(_read(file, data, 1), -1);
    EXPECT_EQ(_sopen("C:\\missing.txt", _O_RDONLY | _O_TEXT, _SH_DENYNO), -1);
    EXPECT_EQ(_sopen("C:\\a.txt", _O_RDWR, _SH_DENYNO), -1) << "only reading is offered";
}

}  // namespace
