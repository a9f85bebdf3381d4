// The dialog manager: dialogs made from templates in memory, their controls and size, the
// keyboard interface of IsDialogMessageA, the close request, and EndDialog.
#include <gtest/gtest.h>

#include <fstream>

#include "machine_fixture.h"
#include "platform_api.h"
#include "res_builder.h"
#include "window_recorder.h"

namespace {

const std::uint32_t kPopup = WS_POPUP | WS_THICKFRAME | DS_SETFONT;
const res::Item ok_button{WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 7, 7, 6, 6, IDOK, "OK"};
const res::Item cancel_button{WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 7, 7, 6, 6, IDCANCEL, "Cancel"};

res::Item disabled(res::Item item) {
    item.style |= WS_DISABLED;
    return item;
}

class DialogManager : public MachineTest {
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
    HWND create(const res::Dialog& d, HWND owner = NULL, LPARAM param = 0) {
        bytes = res::dialog_template(d);
        return CreateDialogIndirectParamA(reinterpret_cast<HINSTANCE>(0x00400000),
                                          reinterpret_cast<LPCDLGTEMPLATEA>(bytes.data()), owner,
                                          recorder::dialog_procedure, param);
    }
    // The WM_COMMANDs the dialog procedure heard, as (wParam, lParam).
    std::vector<std::pair<WPARAM, LPARAM>> commands() {
        std::vector<std::pair<WPARAM, LPARAM>> out;
        for (const recorder::Heard& h : recorder::heard()) {
            if (h.message == WM_COMMAND)
                out.push_back({h.wParam, h.lParam});
        }
        return out;
    }
    std::string state(HWND hwnd) {
        sim::Machine& m = sim::machine();
        return m.windows.state_text(*m.windows.find(hwnd));
    }
    std::vector<std::uint8_t> bytes;
};

TEST_F(DialogManager, ADialogIsMadeHiddenWithItsControlsThenInitialised) {
    HWND dialog = create({kPopup, 0, 0, 20, 20, {ok_button, cancel_button}}, NULL, 0x1234);
    ASSERT_NE(dialog, nullptr);
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    // The dialog's procedure hears the font, then the initialisation with the param; no
    // visible enabled control with a tab stop takes the focus.
    const std::vector<recorder::Heard> want = {
        {dialog, WM_SETFONT, 0x700, FALSE},
        {dialog, WM_INITDIALOG, 0, 0x1234},
    };
    EXPECT_EQ(recorder::heard(), want);
    // 20 by 20 dialog units of 8-point MS Sans Serif: 30 by 33 pixels, and the thick frame.
    EXPECT_EQ(state(dialog), "0,0 38x41 hidden");
    RECT r;
    GetWindowRect(ok, &r);
    EXPECT_EQ(r.left, 4 + 11);
    EXPECT_EQ(r.top, 4 + 11);
    EXPECT_EQ(r.right - r.left, 9);
    EXPECT_EQ(r.bottom - r.top, 10);
    EXPECT_EQ(GetWindowLongPtrA(ok, GWL_STYLE), static_cast<LONG_PTR>(ok_button.style));
    EXPECT_EQ(GetWindowLongPtrA(ok, GWL_EXSTYLE), WS_EX_NOPARENTNOTIFY);
    EXPECT_EQ(GetWindowLongPtrA(ok, GWLP_ID), IDOK);
    EXPECT_EQ(GetParent(ok), dialog);
    EXPECT_EQ(SendMessageA(ok, WM_GETFONT, 0, 0), 0x700);
    EXPECT_EQ(SendMessageA(ok, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(cancel, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
}

TEST_F(DialogManager, WhereADialogStands) {
    struct Case {
        const char* name;
        std::uint32_t style;
        bool owned;
        std::string want;
    };
    const Case cases[] = {
        {"in the owner's client area", kPopup, true, "112,62 38x41 hidden"},
        {"on the screen with DS_ABSALIGN", kPopup | DS_ABSALIGN, true, "11,11 38x41 hidden"},
        {"on the screen without an owner", kPopup, false, "11,11 38x41 hidden"},
        {"the system font without DS_SETFONT", WS_POPUP, false, "14,14 40x40 hidden"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        sim::Window& owner = sim::machine().windows.create("Test", WS_POPUP | WS_BORDER, 0, 100, 50, 200, 200,
                                                           0, recorder::window_procedure);
        HWND dialog =
            create({c.style, 7, 7, 20, 20, {}}, c.owned ? reinterpret_cast<HWND>(owner.handle) : NULL);
        EXPECT_EQ(state(dialog), c.want);
        EXPECT_EQ(GetParent(dialog), c.owned ? reinterpret_cast<HWND>(owner.handle) : NULL);
    }
}

TEST_F(DialogManager, WhatTheInitialisationDoesDecidesWhatCreationGives) {
    struct Case {
        const char* name;
        std::uint32_t style;
        UINT action;  // in WM_INITDIALOG: 0, or what the procedure calls
        bool made;
        std::string want;
    };
    const Case cases[] = {
        {"a template without WS_VISIBLE stays hidden", kPopup, 0, true, "0,0 38x41 hidden"},
        {"WS_VISIBLE shows it after the initialisation", kPopup | WS_VISIBLE, 0, true,
         "0,0 38x41 visible active"},
        {"EndDialog during the initialisation keeps it hidden", kPopup | WS_VISIBLE, 1, true,
         "0,0 38x41 hidden"},
        {"DestroyWindow during the initialisation gives NULL", kPopup, 2, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        recorder::reset();
        recorder::hook() = [&c](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
            if (message != WM_INITDIALOG)
                return false;
            if (c.action == 1)
                EndDialog(hwnd, 7);
            if (c.action == 2)
                DestroyWindow(hwnd);
            result = TRUE;
            return true;
        };
        HWND dialog = create({c.style, 0, 0, 20, 20, {ok_button}});
        EXPECT_EQ(dialog != NULL, c.made);
        if (dialog) {
            EXPECT_EQ(state(dialog), c.want);
        }
    }
}

TEST_F(DialogManager, TheKeyboardInterface) {
    struct Case {
        const char* name;
        std::vector<res::Item> items;
        WPARAM key;
        bool beeps;
        WPARAM want_command;  // with the control's handle, when it has one
    };
    res::Item go{WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 5, 5, 1000, "Go"};
    const Case cases[] = {
        {"Enter presses the default button", {ok_button, cancel_button}, VK_RETURN, false, IDOK},
        {"Enter presses a default button of another id", {go, cancel_button}, VK_RETURN, false, 1000},
        {"Enter gives IDOK in a dialog without buttons", {}, VK_RETURN, false, IDOK},
        {"Enter on a disabled default button only beeps",
         {disabled(ok_button), cancel_button},
         VK_RETURN,
         true,
         0},
        {"Escape presses Cancel", {ok_button, cancel_button}, VK_ESCAPE, false, IDCANCEL},
        {"Escape gives IDCANCEL in a dialog without a Cancel button",
         {ok_button},
         VK_ESCAPE,
         false,
         IDCANCEL},
        {"Escape with a disabled Cancel button only beeps",
         {ok_button, disabled(cancel_button)},
         VK_ESCAPE,
         true,
         0},
        {"Tab gives no command", {ok_button, cancel_button}, VK_TAB, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        HWND dialog = create({kPopup, 0, 0, 20, 20, c.items});
        recorder::reset();
        int beeps = sim::machine().windows.beeps;
        MSG key = {dialog, WM_KEYDOWN, c.key, 0x00010001, 0, {0, 0}};
        EXPECT_TRUE(IsDialogMessageA(dialog, &key));
        EXPECT_EQ(sim::machine().windows.beeps - beeps, c.beeps ? 1 : 0);
        std::vector<std::pair<WPARAM, LPARAM>> want;
        if (c.want_command) {
            HWND control = GetDlgItem(dialog, static_cast<int>(c.want_command));
            want.push_back({MAKEWPARAM(c.want_command, BN_CLICKED), reinterpret_cast<LPARAM>(control)});
        }
        EXPECT_EQ(commands(), want);
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_CHAR, WM_CHAR, PM_NOREMOVE)) << "the key is not translated";
    }
}

TEST_F(DialogManager, OtherMessagesAreDispatchedAndOtherWindowsLeftAlone) {
    HWND dialog = create({kPopup, 0, 0, 20, 20, {ok_button}});
    HWND ok = GetDlgItem(dialog, IDOK);
    HWND other = create({kPopup, 0, 0, 20, 20, {}});
    recorder::reset();
    MSG for_other = {other, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(IsDialogMessageA(dialog, &for_other));
    EXPECT_TRUE(recorder::heard().empty());
    MSG space = {dialog, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(dialog, &space));
    EXPECT_EQ(recorder::messages(dialog), std::vector<UINT>{WM_KEYDOWN}) << "dispatched";
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, dialog, WM_CHAR, WM_CHAR, PM_REMOVE)) << "and translated";
    // A message for a control is the dialog's too: a click on the enabled button is its command.
    MSG click = {ok, BM_CLICK, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageA(dialog, &click));
    const std::vector<std::pair<WPARAM, LPARAM>> want = {
        {MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok)}};
    EXPECT_EQ(commands(), want);
}

TEST_F(DialogManager, ACloseRequestBecomesAPostedCancelUnlessCancelIsDisabled) {
    struct Case {
        const char* name;
        std::vector<res::Item> items;
        bool posted;
    };
    const Case cases[] = {
        {"an enabled Cancel button", {ok_button, cancel_button}, true},
        {"no Cancel button", {ok_button}, true},
        {"a disabled Cancel button beeps", {ok_button, disabled(cancel_button)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start();
        HWND dialog = create({kPopup, 0, 0, 20, 20, c.items});
        int beeps = sim::machine().windows.beeps;
        SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(IsWindow(dialog)) << "a dialog is not destroyed by a close request";
        EXPECT_EQ(sim::machine().windows.beeps - beeps, c.posted ? 0 : 1);
        MSG msg;
        BOOL got = PeekMessageA(&msg, NULL, WM_COMMAND, WM_COMMAND, PM_REMOVE);
        EXPECT_EQ(got != FALSE, c.posted);
        if (got) {
            EXPECT_EQ(msg.hwnd, dialog);
            EXPECT_EQ(msg.wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
            EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        }
    }
}

TEST_F(DialogManager, EndDialogHidesTheDialogAndGivesItsOwnerInputAgain) {
    sim::Window& owner = sim::machine().windows.create("Test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 200, 0,
                                                       recorder::window_procedure);
    HWND owner_hwnd = reinterpret_cast<HWND>(owner.handle);
    EnableWindow(owner_hwnd, FALSE);
    HWND dialog = create({kPopup | WS_VISIBLE, 0, 0, 20, 20, {ok_button}}, owner_hwnd);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_TRUE(EndDialog(dialog, 5));
    EXPECT_TRUE(IsWindow(dialog)) << "nothing is destroyed";
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner_hwnd));
    EXPECT_NE(GetActiveWindow(), dialog);
    EXPECT_FALSE(EndDialog(owner_hwnd, 5)) << "not a dialog";
}

TEST_F(DialogManager, AHandledMessageGivesTheDialogsMessageResult) {
    HWND dialog = create({kPopup, 0, 0, 20, 20, {}});
    recorder::hook() = [](HWND hwnd, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_USER + 5)
            return false;
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 42);
        result = TRUE;
        return true;
    };
    EXPECT_EQ(SendMessageA(dialog, WM_USER + 5, 0, 0), 42);
    EXPECT_EQ(SendMessageA(dialog, DM_SETDEFID, 9, 0), TRUE) << "not handled: the default processing";
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(9, DC_HASDEFID));
}

TEST_F(DialogManager, ABrokenTemplateMakesNoDialog) {
    std::vector<std::uint8_t> short_template = {1, 0, 0xFF, 0xFF, 0, 0};
    // Cut short inside a resource of the program, so that the reader knows where it ends.
    std::vector<std::uint8_t> file = res::res_file({{5, 300, 0x0409, short_template}});
    sim::machine().resources.use(file.data(), file.size());
    HRSRC found = FindResourceA(NULL, MAKEINTRESOURCEA(300), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    auto* t = static_cast<LPCDLGTEMPLATEA>(LockResource(LoadResource(NULL, found)));
    EXPECT_EQ(SizeofResource(NULL, found), short_template.size());
    EXPECT_EQ(CreateDialogIndirectParamA(NULL, t, NULL, recorder::dialog_procedure, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(
        CreateDialogIndirectParamA(NULL, t, reinterpret_cast<HWND>(0x9999), recorder::dialog_procedure, 0),
        nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(DialogManager, IconsComeFromTheProgramsIconGroup) {
    // A group of a 16 and a 32 pixel image: LoadIconA takes the 32 pixel one.
    res::Bytes group;
    for (std::uint16_t v : {0, 1, 2})
        group.u16(v);
    for (std::uint8_t size : {16, 32}) {
        group.u8(size);
        group.u8(size);
        group.u8(16);
        group.u8(0);
        group.u16(1);
        group.u16(4);
        group.u32(40);
        group.u16(size == 16 ? 1 : 2);
    }
    std::vector<std::uint8_t> file = res::res_file({{3, 1, 0x040C, std::vector<std::uint8_t>(40)},
                                                    {3, 2, 0x040C, std::vector<std::uint8_t>(40)},
                                                    {14, 128, 0x040C, group.data}});
    sim::machine().resources.use(file.data(), file.size());
    sim::machine().trace.open(folder_ / "trace.txt");
    HICON icon = LoadIconA(reinterpret_cast<HINSTANCE>(0x00400000), MAKEINTRESOURCEA(128));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(0x00400000), "#128"), icon)
        << "the same group, the same handle";
    EXPECT_EQ(LoadIconA(NULL, MAKEINTRESOURCEA(128)), nullptr) << "no instance: only the system's icons";
    EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(0x00400000), MAKEINTRESOURCEA(129)), nullptr);
    EXPECT_NE(LoadIconA(NULL, IDI_APPLICATION), nullptr);
    sim::machine().trace.open(folder_ / "other.txt");
    std::ifstream in(folder_ / "trace.txt");
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "LoadIconA(0x00400000, 128) = 0x00000600 -> icon 2, 32x32");
}

}  // namespace
