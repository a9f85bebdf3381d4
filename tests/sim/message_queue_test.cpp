// The thread's queue: the order in which posted messages, the quit message, hardware input
// and painting are taken, which window input reaches, when the input's commands are taken,
// and the end of the input.
#include <gtest/gtest.h>

#include <fstream>

#include "machine_fixture.h"
#include "platform_api.h"
#include "queue.h"
#include "window_recorder.h"

namespace {

TEST(Ring, KeepsItsOrderAndGrowsOnlyWhenFull) {
    sim::Ring<int> ring(4);
    // Many rounds that never hold more than its room leave the room as it was.
    for (int round = 0; round < 100; round++) {
        for (int i = 0; i < 4; i++)
            ring.push_back(round * 10 + i);
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(ring.front(), round * 10 + i);
            ring.pop_front();
        }
    }
    EXPECT_EQ(ring.capacity(), 4u);
    // Wrapped round its end, then over full: the order survives the growth.
    ring.push_back(1);
    ring.push_back(2);
    ring.pop_front();
    for (int i = 3; i <= 7; i++)
        ring.push_back(i);
    EXPECT_EQ(ring.capacity(), 8u);
    std::vector<int> seen;
    for (std::size_t i = 0; i < ring.size(); i++)
        seen.push_back(ring[i]);
    EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 5, 6, 7}));
    ring.erase(1);
    ring.erase_if([](int v) { return v % 2 == 0; });
    seen.clear();
    for (std::size_t i = 0; i < ring.size(); i++)
        seen.push_back(ring[i]);
    EXPECT_EQ(seen, (std::vector<int>{5, 7}));
}

class Queue : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        recorder::reset();
    }
    void TearDown() override {
        recorder::reset();
        MachineTest::TearDown();
    }
    // A top-level window of the recording procedure.
    HWND window(int x, int y, int width, int height, std::uint32_t style = WS_POPUP | WS_VISIBLE) {
        sim::Window& w = sim::machine().windows.create("Test", style, 0, x, y, width, height, 0,
                                                       recorder::window_procedure);
        return reinterpret_cast<HWND>(w.handle);
    }
    struct Taken {
        HWND hwnd;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Taken&) const = default;
    };
    std::vector<Taken> take_all(int most = 20) {
        std::vector<Taken> out;
        MSG msg;
        while (most-- > 0 && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            out.push_back({msg.hwnd, msg.message, msg.wParam, msg.lParam});
            if (msg.message == WM_PAINT) {
                PAINTSTRUCT ps;
                BeginPaint(msg.hwnd, &ps);
                EndPaint(msg.hwnd, &ps);
            }
        }
        return out;
    }
};

TEST_F(Queue, PostedThenQuitThenInputThenPainting) {
    start("ahead click 5 5\n");
    HWND w = window(0, 0, 100, 80);
    PostMessageA(w, WM_USER + 1, 1, 2);
    PostQuitMessage(3);
    PostMessageA(NULL, WM_USER + 2, 0, 0);  // a message to the thread
    const std::vector<Taken> want = {
        {w, WM_USER + 1, 1, 2},
        {NULL, WM_USER + 2, 0, 0},
        {NULL, WM_QUIT, 3, 0},
        {w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)},
        {w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},
        {w, WM_PAINT, 0, 0},
    };
    EXPECT_EQ(take_all(), want);
}

TEST_F(Queue, PaintingStaysUntilTheWindowIsPainted) {
    start();
    HWND w = window(0, 0, 10, 10);
    MSG msg;
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
    }
    DispatchMessageA(&msg);  // DefWindowProcA validates
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    ShowWindow(w, SW_HIDE);
    ShowWindow(w, SW_SHOW);
    EXPECT_TRUE(PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_NOREMOVE))
        << "shown again, it must be painted again";
}

TEST_F(Queue, FiltersTakeTheFirstMessageThatPassesAndQuitAlways) {
    start();
    HWND a = window(0, 0, 10, 10, WS_POPUP);
    HWND b = window(0, 0, 10, 10, WS_POPUP);
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 2, 0, 0);
    PostMessageA(a, WM_USER + 3, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_USER + 3, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
    EXPECT_FALSE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
    PostQuitMessage(0);
    ASSERT_TRUE(PeekMessageA(&msg, b, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1)) << "what the filters passed over is still there";
}

TEST_F(Queue, CommandsAreTakenOnlyWhenTheProgramWaits) {
    start("quit\n");
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) << "PeekMessageA takes no command";
    EXPECT_FALSE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(Queue, APressGoesToTheCaptureElseToTheWindowUnderIt) {
    struct Case {
        const char* name;
        int x, y;
        bool capture;  // the back window holds the capture
        bool disable_front;
        int want;  // 0: no window, 1: the front window, 2: the back window, 3: the front's child
        int want_x, want_y;
    };
    const Case cases[] = {
        {"the top window under the point, in its client coordinates", 60, 60, false, false, 1, 6, 6},
        {"a point only the back window covers", 10, 10, false, false, 2, 10, 10},
        {"the deepest visible child there", 112, 112, false, false, 3, 8, 8},
        {"a disabled window under the point takes nothing", 60, 60, false, true, 0, 0, 0},
        {"a point over no window", 300, 300, false, false, 0, 0, 0},
        {"the capture takes it wherever it is", 300, 300, true, false, 2, 300, 300},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Typed ahead, the press waits in the queue until the first look at it.
        start("ahead click " + std::to_string(c.x) + " " + std::to_string(c.y) + "\n");
        HWND back = window(0, 0, 100, 100);
        HWND front = window(50, 50, 100, 100, WS_POPUP | WS_VISIBLE | WS_THICKFRAME);
        sim::Window& child = sim::machine().windows.create("Test", WS_CHILD | WS_VISIBLE, 0, 50, 50, 20, 20,
                                                           reinterpret_cast<std::uintptr_t>(front),
                                                           recorder::window_procedure);
        HWND expected[] = {NULL, front, back, reinterpret_cast<HWND>(child.handle)};
        if (c.capture)
            SetCapture(back);
        if (c.disable_front)
            EnableWindow(front, FALSE);
        MSG msg;
        BOOL got = PeekMessageA(&msg, NULL, WM_LBUTTONDOWN, WM_LBUTTONUP, PM_REMOVE);
        if (c.want == 0) {
            EXPECT_FALSE(got) << "the press is lost";
            continue;
        }
        ASSERT_TRUE(got);
        EXPECT_EQ(msg.hwnd, expected[c.want]);
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(msg.lParam, MAKELPARAM(c.want_x, c.want_y));
        EXPECT_EQ(msg.pt.x, c.x);
        EXPECT_EQ(msg.pt.y, c.y);
    }
}

TEST_F(Queue, KeysGoToTheActiveWindowAndF1AsksForHelp) {
    start("key f1\n");
    HWND owner = window(0, 0, 50, 50);
    sim::Window& popup =
        sim::machine().windows.create("Test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 50, 50,
                                      reinterpret_cast<std::uintptr_t>(owner), recorder::window_procedure);
    HWND w = reinterpret_cast<HWND>(popup.handle);
    ShowWindow(w, SW_SHOWNORMAL);
    MSG msg;
    GetMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST);
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_F1));
    EXPECT_EQ(msg.lParam, 0x003B0001);
    // Taking the key-down posted the help request, which default processing turns into
    // WM_HELP for the active window; the window's default passes it on to its owner.
    recorder::reset();
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    std::vector<recorder::Heard> help;
    for (const recorder::Heard& h : recorder::heard()) {
        if (h.message == WM_HELP)
            help.push_back(h);
    }
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].hwnd, w);
    EXPECT_EQ(help[1].hwnd, owner);
    EXPECT_EQ(help[0].lParam, help[1].lParam);
}

TEST_F(Queue, TheEndOfTheInputShutsTheMachineDownAfterTellingEachWindow) {
    start("");
    sim::machine().trace.open(folder_ / "trace.txt");
    window(0, 0, 10, 10, WS_POPUP);
    window(0, 0, 10, 10, WS_POPUP);
    MSG msg;
    EXPECT_EXIT(GetMessageA(&msg, NULL, 0, 0), ::testing::ExitedWithCode(0),
                "the input ended while the program waited for it");
    std::ifstream in(folder_ / "trace.txt");
    std::vector<std::string> events;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("# 0x", 0) == 0 || line.rfind("# machine", 0) == 0)
            events.push_back(line);
    }
    const std::vector<std::string> want = {
        "# 0x00000100 <- WM_QUERYENDSESSION(0x00000000, 0x00000000)",
        "# 0x00000101 <- WM_QUERYENDSESSION(0x00000000, 0x00000000)",
        "# 0x00000100 <- WM_ENDSESSION(0x00000001, 0x00000000)",
        "# 0x00000101 <- WM_ENDSESSION(0x00000001, 0x00000000)",
        "# machine: shut down: the input ended while the program waited for it",
    };
    EXPECT_EQ(events, want);
}

TEST_F(Queue, ACommandThatCannotBeCarriedOutStopsTheMachine) {
    struct Case {
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"\nok\n", "input:2: 'ok' answers a message box, but no box is open"},
        {"click -1 5\n", "input:1: the point -1,5 is off the 640 by 480 screen"},
        {"key home\n", "input:1: there is no key 'home'"},
        {"set 3 1 5\n", "input:1: there is no mixer 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        start(c.input);
        MSG msg;
        EXPECT_EXIT(GetMessageA(&msg, NULL, 0, 0), ::testing::ExitedWithCode(2), c.error);
    }
}

TEST_F(Queue, ADestroyedWindowsMessagesGoWithIt) {
    start();
    HWND a = window(0, 0, 10, 10, WS_POPUP);
    HWND b = window(0, 0, 10, 10, WS_POPUP);
    PostMessageA(a, WM_USER, 0, 0);
    PostMessageA(b, WM_USER, 0, 0);
    DestroyWindow(a);
    EXPECT_FALSE(PostMessageA(a, WM_USER, 0, 0));
    const std::vector<Taken> want = {{b, WM_USER, 0, 0}};
    EXPECT_EQ(take_all(), want);
}

TEST_F(Queue, TheMixersNotificationsArrivePosted) {
    write("machine.ini", "[Mixer0]\r\nName=A\r\nControl7=1,2\r\n");
    start("set 0 7 9\n");
    HWND w = window(0, 0, 10, 10, WS_POPUP);
    HMIXER mixer;
    mixerOpen(&mixer, 0, reinterpret_cast<DWORD_PTR>(w), 0, CALLBACK_WINDOW);
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, NULL, 0, 0));
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(msg.message, static_cast<UINT>(MM_MIXM_CONTROL_CHANGE));
    EXPECT_EQ(msg.wParam, reinterpret_cast<WPARAM>(mixer));
    EXPECT_EQ(msg.lParam, 7);
}

}  // namespace
