// The volume link's run, as built, on machines with both mixers: its two dialogs and their
// windows as the trace shows them, every way the link dialog ends, and the mirroring of the
// source mixer's changes into the target mixer as machine.ini keeps it afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ini_file.h"
#include "machine_folder.h"

namespace {

using e2e::MachineFolder;

// Position k (k > 0) holds k: pairs 0 to 5 watch the source controls 1, 2, 3, 12, 7 and 8.
const char* const settings =
    "[mixtwin]\r\nChip=68\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\nE=5\r\nF=6\r\nG=7\r\nH=8\r\nI=9\r\n"
    "J=10\r\nK=11\r\nL=12\r\n";

const char* const mixers =
    "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl1=0x1000,0x1000\r\nControl2=0x1000,0x1000\r\n"
    "Control3=0x1000,0x1000\r\nControl4=0x1000,0x1000\r\nControl12=0x1000\r\nControl7=0x1000\r\nControl8="
    "0x1000\r\n"
    "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0x1111\r\nControl2=0x1111,0x1111\r\n"
    "Control3=0x1111,0x1111\r\nControl10=0x1111\r\nControl8=0x1111\r\nControl9=0x1111\r\n";

MachineFolder link_machine(const std::string& mixtwin_ini = settings,
                           const std::string& machine_ini = mixers) {
    MachineFolder machine;
    machine.write("machine.ini", machine_ini);
    machine.write("drive_c/WINDOWS/SYSTEM/MIXTWIN.INI", mixtwin_ini);
    return machine;
}

bool starts(const std::string& line, const std::string& prefix) {
    return line.rfind(prefix, 0) == 0;
}

// What a person watching the windows would note: the calls that make, place, show, hide,
// enable, end and destroy windows or take the capture, the mixers' opening, the help
// viewer, the beeps, and how the run ended.
std::vector<std::string> window_story(const MachineFolder::Run& run) {
    static const char* const calls[] = {"CreateDialogIndirectParamA(",
                                        "SetWindowPos(",
                                        "ShowWindow(",
                                        "SetCapture(",
                                        "EnableWindow(",
                                        "EndDialog(",
                                        "DestroyWindow(",
                                        "PostQuitMessage(",
                                        "mixerOpen(",
                                        "WinHelpA("};
    std::vector<std::string> out;
    for (const std::string& line : run.trace) {
        bool kept =
            line == "# beep" || starts(line, "# machine: shut down") || starts(line, "# machine: WinMain");
        for (const char* c : calls)
            kept = kept || starts(line, c);
        if (kept)
            out.push_back(line);
    }
    return out;
}

// The messages a window's procedure received, by name, in order.
std::vector<std::string> delivered_to(const MachineFolder::Run& run, const std::string& window) {
    std::vector<std::string> out;
    const std::string prefix = "# " + window + " <- ";
    for (const std::string& line : run.trace) {
        if (starts(line, prefix))
            out.push_back(line.substr(prefix.size(), line.find('(') - prefix.size()));
    }
    return out;
}

// The reads and writes of the mixer service after startup.
std::vector<std::string> transfers(const MachineFolder::Run& run) {
    std::vector<std::string> out;
    for (const std::string& line : run.trace) {
        if (starts(line, "mixerGetControlDetailsA(") || starts(line, "mixerSetControlDetails("))
            out.push_back(line);
    }
    return out;
}

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char* const host = "0x00000100";
const char* const link = "0x00000103";

// Every run: the host is made and ends its modal state, the link dialog is made with the
// host as its disabled owner, opens both mixers, places itself and takes the capture.
const std::vector<std::string> opening = {
    "CreateDialogIndirectParamA(0x00400000, dialog 102, NULL, procedure, param) = 0x00000100 -> 0,0 28x29 "
    "hidden",
    "EndDialog(0x00000100, 0) = TRUE -> 0,0 28x29 hidden",
    "EnableWindow(0x00000100, FALSE) = FALSE -> 0,0 28x29 hidden disabled",
    "CreateDialogIndirectParamA(0x00400000, dialog 129, 0x00000100, procedure, param) = 0x00000103 -> 4,4 "
    "38x41 hidden",
    "mixerOpen(&handle, 0, 0x00000103, 0, CALLBACK_WINDOW) = MMSYSERR_NOERROR -> 0x00002000",
    "mixerOpen(&handle, 1, 0, 0, CALLBACK_NULL) = MMSYSERR_NOERROR -> 0x00002001",
    "SetWindowPos(0x00000103, NULL, 2000, 2000, 1, 1, SWP_HIDEWINDOW) = TRUE -> 2000,2000 1x1 hidden",
    "SetCapture(0x00000103) = NULL",
};
const std::string shown = "ShowWindow(0x00000103, SW_SHOWNORMAL) = FALSE -> 2000,2000 1x1 visible active";
const std::string parked =
    "SetWindowPos(0x00000103, NULL, 0, 0, 1, 1, SWP_HIDEWINDOW) = TRUE -> 0,0 1x1 hidden";
const std::string hide_flags = "SWP_NOSIZE|SWP_NOMOVE|SWP_NOZORDER|SWP_NOACTIVATE|SWP_HIDEWINDOW";
// After the link dialog's run the framework hides it, enables the host, destroys the link
// window; the host's creation returns and the host window goes the same way, which posts
// the quit message; WinMain returns.
std::vector<std::string> program_end(const std::string& host_enable,
                                     const std::string& link_at = "2000,2000") {
    return {
        "SetWindowPos(0x00000103, NULL, 0, 0, 0, 0, " + hide_flags + ") = TRUE -> " + link_at + " 1x1 hidden",
        host_enable,
        "DestroyWindow(0x00000103)",
        "SetWindowPos(0x00000100, NULL, 0, 0, 0, 0, " + hide_flags + ") = TRUE -> 0,0 28x29 hidden",
        "DestroyWindow(0x00000100)",
        "PostQuitMessage(0)",
        "# machine: WinMain returned 0"};
}
const std::string shutdown = "# machine: shut down: the input ended while mixtwin waited for it";

TEST(LinkWindow, EachEndOfTheLinkDialogAsTheWindowsShowIt) {
    struct Case {
        const char* name;
        const char* input;
        std::vector<std::string> after_show;
    };
    const Case cases[] = {
        {"Enter gives the default button's OK, which ends the program", "key enter\n",
         joined({"EndDialog(0x00000103, 1) = TRUE -> 2000,2000 1x1 hidden"},
                // EndDialog already gave the owner its input back.
                program_end("EnableWindow(0x00000100, TRUE) = FALSE -> 0,0 28x29 hidden"))},
        {"a quit message ends the loop and is posted again", "quit\n",
         joined({"PostQuitMessage(0)"},
                program_end("EnableWindow(0x00000100, TRUE) = TRUE -> 0,0 28x29 hidden"))},
        {"the end of the input shuts the machine down with the program running", "", {shutdown}},
        // The Cancel button of the template is disabled: the dialog manager only beeps.
        {"Escape does nothing but beep", "key escape\n", {"# beep", shutdown}},
        {"a close request does nothing but beep", "close\n", {"# beep", shutdown}},
        {"F1 asks the help viewer for the program's help file",
         "key f1\n",
         {"WinHelpA(NULL, \"C:\\\\WINDOWS\\\\SYSTEM\\\\MIXTWIN.HLP\", 0x000B, 0) = FALSE", shutdown}},
        {"Enter after the window was parked reaches no window, a quit still ends",
         "click 10 10\nkey enter\nquit\n",
         joined({parked, "PostQuitMessage(0)"},
                program_end("EnableWindow(0x00000100, TRUE) = TRUE -> 0,0 28x29 hidden", "0,0"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = link_machine();
        auto run = machine.run("mixtwin", {}, c.input);
        EXPECT_EQ(run.status, 0) << run.errors;
        std::vector<std::string> want = opening;
        want.push_back(shown);
        EXPECT_EQ(window_story(run), joined(want, c.after_show)) << run.trace_text;
        for (const std::string& line : run.trace) {
            EXPECT_FALSE(line.find(host) != std::string::npos && line.find(" visible") != std::string::npos)
                << "the host window is never visible: " << line;
        }
    }
}

TEST(LinkWindow, APressParksTheWindowAtTheTopLeftCornerForGood) {
    struct Case {
        const char* name;
        const char* input;
        std::vector<std::string> after_opening;
    };
    const Case cases[] = {
        {"the first press hides it at 0,0 and later ones repeat the move",
         "click 320 240\nclick 0 0\n",
         {shown, parked, parked, shutdown}},
        {"a press anywhere reaches the capturing window", "click 639 479\n", {shown, parked, shutdown}},
        {"a press typed ahead parks it before the first idle moment, which still shows it at 0,0",
         "ahead click 5 5\n",
         {parked, "ShowWindow(0x00000103, SW_SHOWNORMAL) = FALSE -> 0,0 1x1 visible active", shutdown}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = link_machine();
        auto run = machine.run("mixtwin", {}, c.input);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(window_story(run), joined(opening, c.after_opening)) << run.trace_text;
    }
}

TEST(LinkWindow, TheMessagesEachDialogReceives) {
    MachineFolder machine = link_machine();
    auto run = machine.run("mixtwin", {}, "click 1 1\nkey enter\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    // The host hears its creation and icons, then only the WM_NULL of its EndDialog, which the
    // link dialog's loop dispatches; at the end of the input both windows hear of the
    // session's end.
    const std::vector<std::string> host_hears = {"WM_SETFONT",   "WM_INITDIALOG", "WM_SETICON",
                                                 "WM_SETICON",   "WM_NULL",       "WM_QUERYENDSESSION",
                                                 "WM_ENDSESSION"};
    EXPECT_EQ(delivered_to(run, host), host_hears);
    // The press parks the window, which is then no longer active: Enter goes nowhere.
    const std::vector<std::string> link_hears = {"WM_SETFONT",     "WM_INITDIALOG", "WM_PAINT",
                                                 "WM_LBUTTONDOWN", "WM_LBUTTONUP",  "WM_QUERYENDSESSION",
                                                 "WM_ENDSESSION"};
    EXPECT_EQ(delivered_to(run, link), link_hears);
    EXPECT_NE(
        std::find(run.trace.begin(), run.trace.end(), "# input: the key reaches no window: none is active"),
        run.trace.end());
}

TEST(LinkWindow, EnterEndsTheLinkDialogThroughTheDefaultButton) {
    MachineFolder machine = link_machine();
    auto run = machine.run("mixtwin", {}, "key enter\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> link_hears = {"WM_SETFONT", "WM_INITDIALOG", "WM_PAINT",    "DM_GETDEFID",
                                                 "WM_COMMAND", "WM_DESTROY",    "WM_NCDESTROY"};
    EXPECT_EQ(delivered_to(run, link), link_hears);
    // The command is the OK button's click, from the button's own handle.
    EXPECT_NE(
        std::find(run.trace.begin(), run.trace.end(), "# 0x00000103 <- WM_COMMAND(0x00000001, 0x00000104)"),
        run.trace.end());
}

TEST(LinkWindow, InputThatCannotBeCarriedOutStopsTheMachine) {
    struct Case {
        const char* name;
        const char* input;
        const char* error;
    };
    const Case cases[] = {
        {"an answer with no box open", "set 0 2 1\nyes\n",
         "input.txt:2: 'yes' answers a message box, but no box is open"},
        {"a point off the screen", "click 640 10\n",
         "input.txt:1: the point 640,10 is off the 640 by 480 screen"},
        {"a key the machine does not have", "key pause\n",
         "input.txt:1: there is no key 'pause': the keys are enter, escape, tab, space and f1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = link_machine();
        std::string before = machine.read("machine.ini");
        auto run = machine.run("mixtwin", {}, c.input);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.errors.find(c.error), std::string::npos) << run.errors;
        EXPECT_EQ(machine.read("machine.ini"), before) << "nothing is saved";
    }
}

TEST(LinkWindow, TheScreenSizeComesFromTheDisplaySection) {
    MachineFolder machine =
        link_machine(settings, std::string("[Display]\r\nWidth=2400\r\nHeight=2100\r\n") + mixers);
    auto run = machine.run("mixtwin", {}, "click 2000 2000\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    // The press lands right on the window and still goes to it as the capturing window.
    auto story = window_story(run);
    EXPECT_EQ(std::count(story.begin(), story.end(), parked), 1) << run.trace_text;
    EXPECT_NE(run.trace_text.find(
                  "GetMessageA(&msg, NULL, 0, 0) = TRUE -> {0x00000103, WM_LBUTTONDOWN, 0x00000001, "
                  "0xFFFCFFFC}"),
              std::string::npos)
        << "the press is at -4,-4 of the client area, inside the frame";
}

// The target mixer's controls as machine.ini holds them after the run.
std::vector<std::string> target_controls(const MachineFolder& machine) {
    sim::IniFile ini = sim::IniFile::parse(machine.read("machine.ini"), "machine.ini");
    std::vector<std::string> out;
    for (const char* key : {"Control4", "Control2", "Control3", "Control10", "Control8", "Control9"}) {
        out.push_back(ini.get("Mixer1", key).value_or("?"));
    }
    return out;
}

TEST(ChangeMirroring, EachPairByItsTransferRule) {
    struct Case {
        const char* name;
        const char* input;
        std::vector<std::string> want_transfers;
        std::vector<std::string> want_targets;  // controls 4, 2, 3, 10, 8, 9
    };
    const std::string read1 =
        "mixerGetControlDetailsA(0x00002000, {control 1, 2 channels}, MIXER_OBJECTF_HMIXER) = "
        "MMSYSERR_NOERROR -> ";
    const std::string write4 = "mixerSetControlDetails(0x00002001, {control 4, 1 channel} = ";
    const std::string hmixer = ", MIXER_OBJECTF_HMIXER) = MMSYSERR_NOERROR";
    const std::string untouched = "0x1111";
    const Case cases[] = {
        {"pair 0 writes the larger channel",
         "set 0 1 0x4000 0x9000\n",
         {read1 + "0x4000, 0x9000", write4 + "0x9000" + hmixer},
         {"0x9000", "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 0 passes 0xEFFF",
         "set 0 1 0xEFFF 0\n",
         {read1 + "0xEFFF, 0x0000", write4 + "0xEFFF" + hmixer},
         {"0xEFFF", "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 0 writes 0 for two channels at 0",
         "set 0 1 0 0\n",
         {read1 + "0x0000, 0x0000", write4 + "0x0000" + hmixer},
         {"0x0000", "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 0 stops at a left channel of 0xF000",
         "set 0 1 0xF000 0\n",
         {read1 + "0xF000, 0x0000"},
         {untouched, "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 0 stops at a right channel of 0xFFFF",
         "set 0 1 0 0xFFFF\n",
         {read1 + "0x0000, 0xFFFF"},
         {untouched, "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"one value moves both channels of pair 0's control",
         "set 0 1 0x2000\n",
         {read1 + "0x2000, 0x2000", write4 + "0x2000" + hmixer},
         {"0x2000", "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 1 copies 0xFFFF and 0xF800 unchanged",
         "set 0 2 0xFFFF 0xF800\n",
         {"mixerGetControlDetailsA(0x00002000, {control 2, 2 channels}, MIXER_OBJECTF_HMIXER) = "
          "MMSYSERR_NOERROR -> "
          "0xFFFF, 0xF800",
          "mixerSetControlDetails(0x00002001, {control 2, 2 channels} = 0xFFFF, 0xF800" + hmixer},
         {untouched, "0xFFFF,0xF800", "0x1111,0x1111", untouched, untouched, untouched}},
        {"pair 2 copies both channels",
         "set 0 3 7 8\n",
         {"mixerGetControlDetailsA(0x00002000, {control 3, 2 channels}, MIXER_OBJECTF_HMIXER) = "
          "MMSYSERR_NOERROR -> "
          "0x0007, 0x0008",
          "mixerSetControlDetails(0x00002001, {control 3, 2 channels} = 0x0007, 0x0008" + hmixer},
         {untouched, "0x1111,0x1111", "0x0007,0x0008", untouched, untouched, untouched}},
        {"pairs 3, 4 and 5 copy one channel",
         "set 0 12 0xF123\nset 0 7 0x8765\nset 0 8 1\n",
         {"mixerGetControlDetailsA(0x00002000, {control 12, 1 channel}, MIXER_OBJECTF_HMIXER) = "
          "MMSYSERR_NOERROR -> "
          "0xF123",
          "mixerSetControlDetails(0x00002001, {control 10, 1 channel} = 0xF123" + hmixer,
          "mixerGetControlDetailsA(0x00002000, {control 7, 1 channel}, MIXER_OBJECTF_HMIXER) = "
          "MMSYSERR_NOERROR -> "
          "0x8765",
          "mixerSetControlDetails(0x00002001, {control 8, 1 channel} = 0x8765" + hmixer,
          "mixerGetControlDetailsA(0x00002000, {control 8, 1 channel}, MIXER_OBJECTF_HMIXER) = "
          "MMSYSERR_NOERROR -> "
          "0x0001",
          "mixerSetControlDetails(0x00002001, {control 9, 1 channel} = 0x0001" + hmixer},
         {untouched, "0x1111,0x1111", "0x1111,0x1111", "0xF123", "0x8765", "0x0001"}},
        {"a control that no pair watches is ignored",
         "set 0 4 9 9\n",
         {},
         {untouched, "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
        {"a change of the target mixer's own control tells nobody",
         "set 1 2 5 5\n",
         {},
         {untouched, "0x0005,0x0005", "0x1111,0x1111", untouched, untouched, untouched}},
        {"a change before the first idle moment is handled like any other",
         "ahead set 0 1 0x100 0x200\n",
         {read1 + "0x0100, 0x0200", write4 + "0x0200" + hmixer},
         {"0x0200", "0x1111,0x1111", "0x1111,0x1111", untouched, untouched, untouched}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MachineFolder machine = link_machine();
        auto run = machine.run("mixtwin", {}, c.input);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(transfers(run), c.want_transfers) << run.trace_text;
        EXPECT_EQ(target_controls(machine), c.want_targets);
    }
}

TEST(ChangeMirroring, TwoPairsWatchingOneControlAreServedInPairOrder) {
    // Positions 2 and 3 both name control 2: pairs 1 and 2 share it.
    MachineFolder machine = link_machine("Chip=68 A=1 B=2 C=2 D=4 E=5 F=6 G=7 H=8 I=9 J=10 K=11 L=12\r\n");
    auto run = machine.run("mixtwin", {}, "set 0 2 0x0102 0x0304\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> want = {
        "mixerGetControlDetailsA(0x00002000, {control 2, 2 channels}, MIXER_OBJECTF_HMIXER) = "
        "MMSYSERR_NOERROR -> "
        "0x0102, 0x0304",
        "mixerSetControlDetails(0x00002001, {control 2, 2 channels} = 0x0102, 0x0304, MIXER_OBJECTF_HMIXER) "
        "= "
        "MMSYSERR_NOERROR",
        "mixerGetControlDetailsA(0x00002000, {control 2, 2 channels}, MIXER_OBJECTF_HMIXER) = "
        "MMSYSERR_NOERROR -> "
        "0x0102, 0x0304",
        "mixerSetControlDetails(0x00002001, {control 3, 2 channels} = 0x0102, 0x0304, MIXER_OBJECTF_HMIXER) "
        "= "
        "MMSYSERR_NOERROR",
    };
    EXPECT_EQ(transfers(run), want);
    const std::vector<std::string> targets = {"0x1111", "0x0102,0x0304", "0x0102,0x0304",
                                              "0x1111", "0x1111",        "0x1111"};
    EXPECT_EQ(target_controls(machine), targets);
}

TEST(ChangeMirroring, ANegativeIdentifierWatchesTheControlOfItsThirtyTwoBits) {
    std::string machine_ini = mixers;
    machine_ini.replace(machine_ini.find("Control1=0x1000,0x1000"), 22, "Control4294967291=0,0");
    MachineFolder machine =
        link_machine("Chip=68 A=-5 B=2 C=3 D=4 E=5 F=6 G=7 H=8 I=9 J=10 K=11 L=12\r\n", machine_ini);
    auto run = machine.run("mixtwin", {}, "set 0 4294967291 0x10 0x20\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(target_controls(machine)[0], "0x0020") << run.trace_text;
}

TEST(ChangeMirroring, AChangeMadeBeforeTheStartWaitsForTheNextChange) {
    // The source's control 1 stands at 0x3000 on both channels before the program runs;
    // its target control 4 keeps 0x1111 until control 1 changes again.
    std::string machine_ini = mixers;
    machine_ini.replace(machine_ini.find("Control1=0x1000,0x1000"), 22, "Control1=0x3000,0x3000");
    for (const char* input : {"", "set 0 2 1 1\n"}) {
        SCOPED_TRACE(input);
        MachineFolder machine = link_machine(settings, machine_ini);
        auto run = machine.run("mixtwin", {}, input);
        EXPECT_EQ(run.status, 0) << run.errors;
        EXPECT_EQ(target_controls(machine)[0], "0x1111");
    }
    // The next change sends the source's whole current value: its right channel, untouched
    // by the change, is the larger.
    MachineFolder machine = link_machine(settings, machine_ini);
    auto run = machine.run("mixtwin", {}, "set 0 1 0x2000 0x3000\nset 0 1 0x2000\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    const std::vector<std::string> written = {"0x3000", "0x2000"};
    std::vector<std::string> seen;
    for (const std::string& line : transfers(run)) {
        if (starts(line, "mixerSetControlDetails"))
            seen.push_back(line.substr(line.find("= ") + 2, 6));
    }
    EXPECT_EQ(seen, written);
}

TEST(ChangeMirroring, TheSampleMachineShowsTheLinkAtWork) {
    MachineFolder machine = MachineFolder::copy_of("sample");
    auto run = machine.run("mixtwin", {}, "set 0 1 0x3000 0x5000\nset 0 12 0x7000\nclick 100 100\nquit\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    sim::IniFile ini = sim::IniFile::parse(machine.read("machine.ini"), "machine.ini");
    EXPECT_EQ(ini.get("Mixer1", "Control4"), "0x5000");
    EXPECT_EQ(ini.get("Mixer1", "Control10"), "0x7000");
    EXPECT_EQ(ini.get("Mixer1", "Control2"), "0xA000,0xA000");
}

}  // namespace
