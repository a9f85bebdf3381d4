// The mixer service's calls, made directly on a machine with two mixer devices.
#include <gtest/gtest.h>

#include <vector>

#include "machine_fixture.h"
#include "platform_api.h"

namespace {

class MixerCalls : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        write("machine.ini",
              "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl7=0x1000,0x2000\r\nControl9=5\r\n"
              "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0\r\n");
        sim::Machine& m = start();
        m.mixers.post = [this](std::uintptr_t window, unsigned message, std::uintptr_t w, std::intptr_t l) {
            posted.push_back({window, message, w, l});
        };
    }

    struct Posted {
        std::uintptr_t window;
        unsigned message;
        std::uintptr_t wparam;
        std::intptr_t lparam;
        bool operator==(const Posted&) const = default;
    };
    std::vector<Posted> posted;

    static MIXERCONTROLDETAILS record(DWORD control, DWORD channels, MIXERCONTROLDETAILS_UNSIGNED* values) {
        MIXERCONTROLDETAILS r;
        r.cbStruct = sizeof r;
        r.dwControlID = control;
        r.cChannels = channels;
        r.cMultipleItems = 0;
        r.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
        r.paDetails = values;
        return r;
    }
};

TEST_F(MixerCalls, DevicesAreFoundAndOpened) {
    EXPECT_EQ(mixerGetNumDevs(), 2u);
    MIXERCAPSA caps;
    EXPECT_EQ(mixerGetDevCapsA(1, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_STREQ(caps.szPname, "Dream Sound Studio Mixer");
    EXPECT_EQ(mixerGetDevCapsA(2, &caps, sizeof caps), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));

    HMIXER a = NULL, b = NULL, c = reinterpret_cast<HMIXER>(1);
    EXPECT_EQ(mixerOpen(&a, 0, 0x1234, 0, CALLBACK_WINDOW), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(mixerOpen(&b, 0, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(mixerOpen(&c, 2, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_BADDEVICEID));
    EXPECT_EQ(mixerOpen(&c, 0, 0x1234, 0, 0x00030000 /* a callback function */),
              static_cast<MMRESULT>(MMSYSERR_INVALFLAG));
}

TEST_F(MixerCalls, RequestsAreCheckedAsWindowsChecksThem) {
    HMIXER h;
    ASSERT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(h);
    struct Case {
        const char* name;
        DWORD control;
        DWORD channels;
        DWORD cb_struct;
        DWORD cb_details;
        MMRESULT want;
        std::vector<DWORD> values;  // what the buffer holds afterwards
    };
    const DWORD size = sizeof(MIXERCONTROLDETAILS), unit = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    const Case cases[] = {
        {"both channels", 7, 2, size, unit, MMSYSERR_NOERROR, {0x1000, 0x2000}},
        {"one channel of two is the first", 7, 1, size, unit, MMSYSERR_NOERROR, {0x1000, 0xAAAA}},
        {"a mono control", 9, 1, size, unit, MMSYSERR_NOERROR, {5, 0xAAAA}},
        {"more channels than the control has", 9, 2, size, unit, MMSYSERR_INVALPARAM, {0xAAAA, 0xAAAA}},
        {"an unknown control leaves the buffer alone", 8, 1, size, unit, MIXERR_INVALCONTROL, {0xAAAA, 0xAAAA}},
        {"a wrong record size", 7, 2, size - 4, unit, MMSYSERR_INVALPARAM, {0xAAAA, 0xAAAA}},
        {"a wrong value size", 7, 2, size, 8, MMSYSERR_INVALPARAM, {0xAAAA, 0xAAAA}},
        {"no channels", 7, 0, size, unit, MMSYSERR_INVALPARAM, {0xAAAA, 0xAAAA}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MIXERCONTROLDETAILS_UNSIGNED values[2] = {{0xAAAA}, {0xAAAA}};
        MIXERCONTROLDETAILS r = record(c.control, c.channels, values);
        r.cbStruct = c.cb_struct;
        r.cbDetails = c.cb_details;
        EXPECT_EQ(mixerGetControlDetailsA(object, &r, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE), c.want);
        EXPECT_EQ(values[0].dwValue, c.values[0]);
        EXPECT_EQ(values[1].dwValue, c.values[1]);
    }
    MIXERCONTROLDETAILS_UNSIGNED values[2] = {};
    MIXERCONTROLDETAILS r = record(7, 2, values);
    EXPECT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(0x99), &r, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_INVALHANDLE));
    EXPECT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(0), &r, MIXER_OBJECTF_MIXER),
              static_cast<MMRESULT>(MMSYSERR_NOERROR))
        << "a device number serves as well as a handle";
}

TEST_F(MixerCalls, AChangeIsToldToEveryWindowOnTheDevice) {
    HMIXER watching, silent, other;
    ASSERT_EQ(mixerOpen(&watching, 0, 0x501, 0, CALLBACK_WINDOW), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    ASSERT_EQ(mixerOpen(&silent, 0, 0, 0, CALLBACK_NULL), static_cast<MMRESULT>(MMSYSERR_NOERROR));
    ASSERT_EQ(mixerOpen(&other, 1, 0x502, 0, CALLBACK_WINDOW), static_cast<MMRESULT>(MMSYSERR_NOERROR));

    MIXERCONTROLDETAILS_UNSIGNED one[1] = {{0x3000}};
    MIXERCONTROLDETAILS r = record(7, 1, one);
    ASSERT_EQ(mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(silent), &r, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    const auto w = reinterpret_cast<std::uintptr_t>(watching);
    EXPECT_EQ(posted, (std::vector<Posted>{{0x501, MM_MIXM_CONTROL_CHANGE, w, 7}}));

    MIXERCONTROLDETAILS_UNSIGNED both[2] = {};
    r = record(7, 2, both);
    ASSERT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(other), &r, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MIXERR_INVALCONTROL))
        << "control 7 belongs to the other device";
    ASSERT_EQ(mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(watching), &r, MIXER_OBJECTF_HMIXER),
              static_cast<MMRESULT>(MMSYSERR_NOERROR));
    EXPECT_EQ(both[0].dwValue, 0x3000u) << "a uniform write sets every channel";
    EXPECT_EQ(both[1].dwValue, 0x3000u);

    // A person moves the control: the same notice.
    sim::Command set{"set", {"0", "9", "77"}, 3};
    sim::machine().mixers.apply_set_command(set, "input");
    EXPECT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted.back(), (Posted{0x501, MM_MIXM_CONTROL_CHANGE, w, 9}));

    // What changed is written back into machine.ini, in the notation it had.
    sim::machine().save();
    std::ifstream in(folder_ / "machine.ini", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text,
              "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl7=0x3000,0x3000\r\nControl9=77\r\n"
              "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0\r\n");
}

TEST_F(MixerCalls, SetCommandsThatNameNothingAreInputErrors) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {"no such mixer", {"2", "7", "1"}, "input:5: there is no mixer 2"},
        {"no such control", {"1", "7", "1"}, "input:5: mixer 1 has no control 7"},
        {"two values for a mono control", {"0", "9", "1", "2"}, "input:5: control 9 has 1 channel(s), not 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Command set{"set", c.args, 5};
        try {
            sim::machine().mixers.apply_set_command(set, "input");
            ADD_FAILURE() << "no error";
        } catch (const sim::InputError& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
    EXPECT_TRUE(posted.empty());
}

}  // namespace
