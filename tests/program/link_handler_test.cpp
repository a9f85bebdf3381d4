// The volume link's own objects, run in this process on machines made for each case, for
// what only a message sent straight to the link window shows: the change handler's answer to
// notifications that come from another handle or name a control no pair watches.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "ini_file.h"
#include "machine_fixture.h"
#include "platform_api.h"

namespace {

class LinkHandler : public MachineTest {
protected:
    // Runs the program; at its first wait for input (the link dialog shown and active),
    // `act` is given the link window, then a quit message ends the run.
    void run(const std::function<void(HWND)>& act) {
        sim::Machine& m = start();
        m.program_name = "mixtwin";
        bool acted = false;
        m.on_wait = [&]() {
            if (!acted) {
                acted = true;
                act(GetActiveWindow());
            }
            PostQuitMessage(0);
            return true;
        };
        EXPECT_EQ(WinMain(reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x00400000)), NULL,
                          const_cast<char*>(""), 10),
                  0);
        EXPECT_TRUE(acted);
    }
    std::string target_control4() {
        sim::machine().save();
        std::ifstream in(folder_ / "machine.ini", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return sim::IniFile::parse(text, "machine.ini").get("Mixer1", "Control4").value_or("?");
    }
};

TEST_F(LinkHandler, AnswersEveryNotificationWith1AndMirrorsOnlyTheSourcesWatchedControls) {
    struct Case {
        const char* name;
        WPARAM handle;  // 0x2000 is the source mixer's, 0x2001 the target's
        LPARAM control;
        std::string want;  // the target's control 4 afterwards
    };
    const Case cases[] = {
        {"the source handle and pair 0's control", 0x2000, 1, "0x9000"},
        {"the target mixer's handle", 0x2001, 1, "0x1111"},
        {"a handle of no mixer", 0x1234, 1, "0x1111"},
        {"no handle", 0, 1, "0x1111"},
        {"a control that no pair watches", 0x2000, 4, "0x1111"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write("machine.ini",
              "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl1=0x4000,0x9000\r\nControl4=1,1\r\n"
              "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0x1111\r\n");
        write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI",
              "Chip=68 1=1 2=2 3=3 4=4 5=5 6=6 7=7 8=8 9=9 10=10 11=11 12=12");
        LRESULT answer = 0;
        run([&](HWND link) {
            ASSERT_NE(link, nullptr);
            answer = SendMessageA(link, MM_MIXM_CONTROL_CHANGE, c.handle, c.control);
        });
        EXPECT_EQ(answer, 1);
        EXPECT_EQ(target_control4(), c.want);
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
