// The window calls: frames and client areas, dialog units, showing, hiding, moving and
// activation, the order of destruction, and subclassing through GWLP_WNDPROC.
#include <gtest/gtest.h>

#include "dialogs.h"
#include "machine_fixture.h"
#include "platform_api.h"
#include "window_recorder.h"

namespace {

class WindowCalls : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        recorder::reset();
        start();
    }
    void TearDown() override {
        recorder::reset();
        MachineTest::TearDown();
    }
    HWND window(std::uint32_t style, int x = 0, int y = 0, int width = 100, int height = 80,
                HWND parent = NULL, std::uint32_t ex_style = 0) {
        sim::Window& w = sim::machine().windows.create("Test", style, ex_style, x, y, width, height,
                                                       reinterpret_cast<std::uintptr_t>(parent),
                                                       recorder::window_procedure);
        return reinterpret_cast<HWND>(w.handle);
    }
    std::string state(HWND hwnd) {
        sim::Machine& m = sim::machine();
        return m.windows.state_text(*m.windows.find(hwnd));
    }
};

TEST_F(WindowCalls, TheClientAreaIsTheRectangleLessTheFrame) {
    struct Case {
        const char* name;
        std::uint32_t style, ex_style;
        int width, height;
        LONG client_width, client_height;
    };
    const Case cases[] = {
        {"no frame", WS_POPUP, 0, 100, 80, 100, 80},
        {"a thick frame takes 4 a side", WS_POPUP | WS_THICKFRAME, 0, 100, 80, 92, 72},
        {"a dialog frame takes 3 a side", WS_POPUP | WS_DLGFRAME, 0, 100, 80, 94, 74},
        {"so does the modal dialog frame", WS_POPUP, WS_EX_DLGMODALFRAME, 100, 80, 94, 74},
        {"a border takes 1", WS_POPUP | WS_BORDER, 0, 100, 80, 98, 78},
        {"a caption adds 19 above", WS_POPUP | WS_CAPTION, 0, 100, 80, 94, 55},
        {"a window smaller than its frame has no client area", WS_POPUP | WS_THICKFRAME, 0, 1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND w = window(c.style, 0, 0, c.width, c.height, NULL, c.ex_style);
        RECT r;
        ASSERT_TRUE(GetClientRect(w, &r));
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, c.client_width);
        EXPECT_EQ(r.bottom, c.client_height);
    }
}

TEST_F(WindowCalls, TheScreenIsTheDisplaySectionsSize) {
    struct Case {
        const char* name;
        const char* ini;
        int width, height;
        const char* error;
    };
    const Case cases[] = {
        {"640 by 480 unless given", "", 640, 480, nullptr},
        {"both given", "[Display]\r\nWidth=1024\r\nheight=768\r\n", 1024, 768, nullptr},
        {"one given", "[Display]\r\nHeight=600\r\n", 640, 600, nullptr},
        {"no pixels", "[Display]\r\nWidth=0\r\n", 0, 0, "machine.ini:2: Width '0' is not a number of pixels"},
        {"an unknown entry", "[Display]\r\nDepth=8\r\n", 0, 0,
         "machine.ini:2: unknown entry 'Depth' in [Display]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write("machine.ini", c.ini);
        if (c.error) {
            try {
                start();
                ADD_FAILURE() << "no error";
            } catch (const sim::InputError& error) {
                EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
            }
            continue;
        }
        start();
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    }
}

TEST(DialogUnits, RoundLikeMulDivByTheFontsBaseUnits) {
    struct Case {
        int a, b, c, want;
    };
    const Case cases[] = {{20, 6, 4, 30}, {20, 13, 8, 33}, {13, 6, 4, 20}, {13, 13, 8, 21},
                          {7, 13, 8, 11}, {6, 13, 8, 10},  {-3, 6, 4, -5}, {0, 13, 8, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + "*" + std::to_string(c.b) + "/" + std::to_string(c.c));
        EXPECT_EQ(sim::mul_div(c.a, c.b, c.c), c.want);
    }
    struct Font {
        const char* name;
        bool set;
        std::uint16_t points;
        int x, y;
    };
    const Font fonts[] = {
        {"the system font", false, 0, 8, 16},
        {"8-point MS Sans Serif", true, 8, 6, 13},
        {"10 points scale it", true, 10, 8, 16},
    };
    for (const Font& f : fonts) {
        SCOPED_TRACE(f.name);
        sim::DialogTemplate t;
        if (f.set)
            t.font = sim::DialogFont{f.points, 0, false, 0, "MS Sans Serif"};
        sim::BaseUnits units = sim::base_units(t);
        EXPECT_EQ(units.x, f.x);
        EXPECT_EQ(units.y, f.y);
    }
}

TEST_F(WindowCalls, ShowingHidingAndMovingAndWhatBecomesActive) {
    struct Step {
        int window;  // 0 or 1
        int show;    // a SW_ command, or -1 for SetWindowPos
        int x = 0, y = 0, cx = 0, cy = 0;
        UINT flags = 0;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::string want0, want1;
    };
    const Case cases[] = {
        {"SW_SHOWNORMAL shows and activates",
         {{0, SW_SHOWNORMAL}},
         "0,0 100x80 visible active",
         "0,0 100x80 hidden"},
        {"SW_SHOWNA shows without activating", {{0, SW_SHOWNA}}, "0,0 100x80 visible", "0,0 100x80 hidden"},
        {"hiding the active window leaves the next visible one active",
         {{1, SW_SHOW}, {0, SW_SHOW}, {0, -1, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW}},
         "0,0 100x80 hidden",
         "0,0 100x80 visible active"},
        {"a hidden window that is moved stays hidden and inactive",
         {{0, -1, 2000, 2000, 1, 1, SWP_HIDEWINDOW}},
         "2000,2000 1x1 hidden",
         "0,0 100x80 hidden"},
        {"moving a visible window activates it unless told otherwise",
         {{0, SW_SHOWNA},
          {0, -1, 5, 6, 0, 0, SWP_NOSIZE},
          {1, SW_SHOWNA},
          {1, -1, 0, 0, 7, 8, SWP_NOMOVE | SWP_NOACTIVATE}},
         "5,6 100x80 visible active",
         "0,0 7x8 visible"},
        {"SWP_SHOWWINDOW shows and activates",
         {{0, -1, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW}},
         "0,0 100x80 visible active",
         "0,0 100x80 hidden"},
        {"minimizing hands activation on",
         {{1, SW_SHOW}, {0, SW_SHOW}, {0, SW_MINIMIZE}},
         "0,0 100x80 visible minimized",
         "0,0 100x80 visible active"},
        {"a size below nothing is nothing",
         {{0, -1, 0, 0, -5, -5, SWP_NOMOVE | SWP_NOACTIVATE}},
         "0,0 0x0 hidden",
         "0,0 100x80 hidden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        HWND w[2] = {window(WS_POPUP), window(WS_POPUP)};
        for (const Step& s : c.steps) {
            if (s.show >= 0) {
                ShowWindow(w[s.window], s.show);
            } else {
                SetWindowPos(w[s.window], NULL, s.x, s.y, s.cx, s.cy, s.flags);
            }
        }
        EXPECT_EQ(state(w[0]), c.want0);
        EXPECT_EQ(state(w[1]), c.want1);
        EXPECT_EQ(IsIconic(w[0]), c.want0.find("minimized") != std::string::npos);
    }
}

TEST_F(WindowCalls, ShowWindowTellsWhetherTheWindowWasVisible) {
    HWND w = window(WS_POPUP);
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(EnableWindow(w, FALSE)) << "it was enabled";
    EXPECT_TRUE(EnableWindow(w, TRUE)) << "it was disabled";
}

TEST_F(WindowCalls, ThePressGoesToTheTopOfTheZOrder) {
    HWND a = window(WS_POPUP | WS_VISIBLE);
    HWND b = window(WS_POPUP | WS_VISIBLE);
    sim::Windows& windows = sim::machine().windows;
    EXPECT_EQ(windows.window_from_point(5, 5)->handle, reinterpret_cast<std::uintptr_t>(b))
        << "the newer on top";
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(windows.window_from_point(5, 5)->handle, reinterpret_cast<std::uintptr_t>(a));
    SetWindowPos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(windows.window_from_point(5, 5)->handle, reinterpret_cast<std::uintptr_t>(a)) << "just below a";
    SetWindowPos(b, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(windows.window_from_point(5, 5)->handle, reinterpret_cast<std::uintptr_t>(b));
}

TEST_F(WindowCalls, DestructionGoesOwnedFirstThenTheWindowThenItsChildren) {
    HWND parent = window(WS_POPUP | WS_VISIBLE);
    HWND first = window(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
    HWND second = window(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
    HWND owned = window(WS_POPUP, 0, 0, 10, 10, parent);
    SetCapture(first);
    ShowWindow(parent, SW_SHOW);
    PostMessageA(parent, WM_USER, 0, 0);
    recorder::reset();
    EXPECT_TRUE(DestroyWindow(parent));
    const std::vector<recorder::Heard> want = {
        {owned, WM_DESTROY, 0, 0},    {owned, WM_NCDESTROY, 0, 0},  {parent, WM_DESTROY, 0, 0},
        {first, WM_DESTROY, 0, 0},    {first, WM_NCDESTROY, 0, 0},  {second, WM_DESTROY, 0, 0},
        {second, WM_NCDESTROY, 0, 0}, {parent, WM_NCDESTROY, 0, 0},
    };
    EXPECT_EQ(recorder::heard(), want);
    for (HWND w : {parent, first, second, owned})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) << "its posted message went with it";
    EXPECT_FALSE(DestroyWindow(parent));
    EXPECT_NE(window(WS_POPUP), parent) << "a handle is never given twice";
}

TEST_F(WindowCalls, ADestroyedWindowsProcedureMayDestroyItAgain) {
    HWND w = window(WS_POPUP);
    recorder::hook() = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message == WM_DESTROY) {
            EXPECT_TRUE(DestroyWindow(hwnd));
        }
        return false;
    };
    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_EQ(recorder::messages(w), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
}

LRESULT CALLBACK counting_subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC superclass = nullptr;
int subclass_calls = 0;

LRESULT CALLBACK counting_subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    subclass_calls++;
    return CallWindowProcA(superclass, hwnd, message, wParam, lParam);
}

TEST_F(WindowCalls, ASubclassSeesTheMessagesFirstAndPassesThemOn) {
    HWND w = window(WS_POPUP);
    superclass = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(counting_subclass)));
    EXPECT_EQ(superclass, recorder::window_procedure);
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(counting_subclass));
    subclass_calls = 0;
    SendMessageA(w, WM_USER, 1, 2);
    EXPECT_EQ(subclass_calls, 1);
    EXPECT_EQ(recorder::heard().back(), (recorder::Heard{w, WM_USER, 1, 2}));
}

TEST_F(WindowCalls, DefaultProcessingKeepsIconsAndTextAndClosesWindows) {
    HWND w = window(WS_POPUP);
    EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_BIG, 0x600), 0);
    EXPECT_EQ(SendMessageA(w, WM_SETICON, ICON_BIG, 0x601), 0x600);
    EXPECT_EQ(SendMessageA(w, WM_GETICON, ICON_BIG, 0), 0x601);
    EXPECT_EQ(SendMessageA(w, WM_GETICON, ICON_SMALL, 0), 0);
    SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("title"));
    char text[4];
    EXPECT_EQ(SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 3);
    EXPECT_STREQ(text, "tit");
    EXPECT_TRUE(SendMessageA(w, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(w)) << "the close request became WM_CLOSE, which destroyed it";
}

}  // namespace
