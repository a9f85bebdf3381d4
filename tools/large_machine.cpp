#include "large_machine.h"

#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "registry.h"
#include "text.h"

namespace large_machine {

namespace {

constexpr const char* kLineEnd = "\r\n";

// A small generator of pseudo-random numbers with a fixed sequence, so that a size always
// gives the same machine on every host.
class Numbers {
public:
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }

private:
    std::uint64_t state_ = 0x5EED;
};

std::string hex4(std::uint32_t n) {
    return sim::hex(n, 4).substr(2);
}
std::string hex8(std::uint32_t n) {
    return sim::hex(n, 8).substr(2);
}
std::string decimal4(std::uint32_t n) {
    std::string s = std::to_string(n);
    return std::string(s.size() < 4 ? 4 - s.size() : 0, '0') + s;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// A key of the registry being made: its own name, its value lines in the editor's form,
// and its subkeys in the order they were made.
struct Key {
    std::string name;
    std::vector<std::string> values;
    std::vector<std::unique_ptr<Key>> children;
    std::map<std::string, Key*> by_name;  // by folded name
    std::set<std::string> value_names;    // folded

    Key& child(const std::string& part) {
        std::string folded = sim::fold_case(part);
        auto found = by_name.find(folded);
        if (found != by_name.end())
            return *found->second;
        children.push_back(std::make_unique<Key>());
        children.back()->name = part;
        by_name[folded] = children.back().get();
        return *children.back();
    }

    // A key holds each value name once, as a file the registry editor writes does.
    void add(const std::string& name, std::string line) {
        if (!value_names.insert(sim::fold_case(name)).second) {
            throw std::logic_error("the value " + name + " of key " + this->name + " is given twice");
        }
        values.push_back(std::move(line));
    }

    Key& str(const std::string& name, const std::string& text) {
        add(name, (name.empty() ? std::string("@") : quoted(name)) + "=" + quoted(text));
        return *this;
    }
    Key& dword(const std::string& name, std::uint32_t n) {
        add(name, quoted(name) + "=dword:" + hex8(n));
        return *this;
    }
    // Binary data (`type` 3) or data of another type, as the editor writes it: bytes in
    // lower-case hex, the line broken after the comma that takes it past 76 characters and
    // continued on the next line two blanks in.
    Key& bytes(const std::string& name, const std::string& data, std::uint32_t type = 3) {
        std::string line = quoted(name) + "=";
        if (type == 3) {
            line += "hex:";
        } else {
            std::string t = sim::hex(type, 8).substr(2);
            t.erase(0, std::min(t.find_first_not_of('0'), t.size() - 1));
            for (char& c : t)
                c = static_cast<char>(c >= 'A' && c <= 'F' ? c + 32 : c);
            line += "hex(" + t + "):";
        }
        std::size_t start = 0;
        static const char digits[] = "0123456789abcdef";
        for (std::size_t i = 0; i < data.size(); i++) {
            auto b = static_cast<unsigned char>(data[i]);
            line += digits[b >> 4];
            line += digits[b & 15];
            if (i + 1 == data.size())
                break;
            line += ',';
            if (line.size() - start > 76) {
                line += "\\\n  ";
                start = line.size() - 2;
            }
        }
        add(name, std::move(line));
        return *this;
    }
};

class Builder {
public:
    Builder() {
        for (const char* root : {"HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CLASSES_ROOT"})
            roots_.child(root);
    }

    // The key at a backslash-separated path from a root's name, made with its parents.
    Key& key(const std::string& path) {
        Key* k = &roots_;
        std::size_t start = 0;
        while (true) {
            std::size_t end = path.find('\\', start);
            k = &k->child(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                return *k;
            start = end + 1;
        }
    }

    std::size_t keys() const { return count(roots_) - roots_.children.size() - 1; }

    std::string text() const {
        std::string out = std::string("REGEDIT4") + kLineEnd + kLineEnd;
        for (const auto& root : roots_.children)
            emit(*root, root->name, out);
        return out;
    }

private:
    static std::size_t count(const Key& k) {
        std::size_t n = 1;
        for (const auto& c : k.children)
            n += count(*c);
        return n;
    }

    static void emit(const Key& k, const std::string& path, std::string& out) {
        out += "[" + path + "]" + kLineEnd;
        for (const std::string& v : k.values) {
            for (char c : v) {
                if (c == '\n') {
                    out += kLineEnd;
                } else {
                    out += c;
                }
            }
            out += kLineEnd;
        }
        out += kLineEnd;
        for (const auto& c : k.children)
            emit(*c, path + "\\" + c->name, out);
    }

    Key roots_;
};

const std::string hklm = "HKEY_LOCAL_MACHINE\\";
const std::string enum_key = hklm + "Enum\\";
const std::string classes = hklm + "System\\CurrentControlSet\\Services\\Class\\";
const std::string resources = hklm + "System\\CurrentControlSet\\Control\\MediaResources\\";
const std::string current_version = hklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\";

std::string random_bytes(Numbers& numbers, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; i++)
        out += static_cast<char>(numbers.below(4) == 0 ? numbers.below(256) : 0);
    return out;
}

// A device's class key: the driver instance that Driver="<class>\<nnnn>" names.
void driver_key(Builder& b, const std::string& cls, std::uint32_t instance, const std::string& description,
                const std::string& inf) {
    b.key(classes + cls + "\\" + decimal4(instance))
        .str("DriverDesc", description)
        .str("InfPath", inf)
        .str("InfSection", "Install_" + decimal4(instance))
        .str("ProviderName", "Manufacturer " + std::to_string(instance % 17))
        .str("DriverDate", " 7-11-1995");
}

void device(Builder& b, Numbers& numbers, const std::string& path, const std::string& cls,
            std::uint32_t instance, const std::string& description) {
    b.key(path)
        .str("Class", cls)
        .str("DeviceDesc", description)
        .str("HardwareID", path.substr(enum_key.size()))
        .str("Mfg", "Manufacturer " + std::to_string(instance % 17))
        .bytes("ConfigFlags", std::string(4, '\0'))
        .str("Driver", cls + "\\" + decimal4(instance));
    b.key(path + "\\LogConfig").bytes("0000", random_bytes(numbers, 52 + numbers.below(60)));
}

// The sound card: its four logical devices, their driver classes and multimedia resources,
// its start-up entry and its uninstall key, each among entries of other devices that look
// alike and must stay.
void sound_card(Builder& b, Numbers& numbers) {
    const char* descriptions[] = {"Velmora Deck Plug and Play Sound Card", "Velmora Deck Audio",
                                  "Velmora Deck Game Port", "Velmora Deck Dream Wavetable"};
    for (std::uint32_t n = 0; n < 4; n++) {
        std::string path = enum_key + "ISAPNP\\ESS1868_DEV000" + std::to_string(n) + "\\FFFFFFFF";
        device(b, numbers, path, "MEDIA", n, descriptions[n]);
        driver_key(b, "MEDIA", n, descriptions[n], n == 0 ? "VELMORA.INF" : "");
    }
    b.key(classes + "MEDIA\\0001\\Drivers\\wave\\es1868.drv")
        .str("Driver", "es1868.drv")
        .str("Description", "ESS");
    const struct {
        const char* type;
        const char* driver;
        int instance;
    } card_resources[] = {
        {"aux", "es1868.drv", 1},   {"mixer", "es1868.drv", 1},  {"wave", "es1868.drv", 1},
        {"midi", "esfm.drv", 1},    {"midi", "essmpu.drv", 1},   {"joystick", "msjstick.drv", 2},
        {"midi", "dream95.drv", 3}, {"mixer", "dream95.drv", 3}, {"wave", "dream95.drv", 3},
    };
    for (const auto& r : card_resources) {
        b.key(resources + r.type + "\\" + r.driver + "<" + decimal4(static_cast<std::uint32_t>(r.instance)) +
              ">")
            .str("Active", "1")
            .str("Driver", r.driver)
            .str("SubClass", "MEDIA\\" + decimal4(static_cast<std::uint32_t>(r.instance)));
    }
    b.key(resources + "Dream").str("Bank", "C:\\WINDOWS\\bank5120.bin");
    b.key(current_version + "Run").str("VelmoraDk", "C:\\WINDOWS\\SYSTEM\\mixtwin.exe");
    b.key(current_version + "Uninstall\\Velmora")
        .str("DisplayName", "Velmora Deck")
        .str("UninstallString", "C:\\WINDOWS\\SYSTEM\\dropcard.exe");
}

// Entries that share a prefix or a name with the card's and are not the card's.
void look_alikes(Builder& b) {
    b.key(enum_key + "ISAPNP\\ESS1868_DEV0004\\FFFFFFFF").str("Driver", "MEDIA\\0040");
    b.key(enum_key + "ISAPNP\\ESS1868_DEV00000\\FFFFFFFF").str("Driver", "MEDIA\\0041");
    b.key(resources + "wave\\es1868.drv<0005>").str("Driver", "es1868.drv").str("SubClass", "MEDIA\\0005");
    b.key(resources + "Dream2").str("Bank", "C:\\OTHER\\bank.bin");
    b.key(resources + "DreamSynth").str("Active", "1");
    b.key(current_version + "Run")
        .str("VelmoraDkHelper", "C:\\OTHER\\helper.exe")
        .str("SystemTray", "SysTray.Exe");
    b.key(current_version + "Uninstall\\Velmora Tools").str("DisplayName", "Velmora Tools");
    b.key(current_version + "Uninstall\\Velmora Old").str("DisplayName", "Velmora Old");
}

std::string guid(Numbers& numbers) {
    return "{" + hex8(numbers.next()) + "-" + hex4(numbers.below(0x10000)) + "-" +
           hex4(numbers.below(0x10000)) + "-" + hex4(numbers.below(0x10000)) + "-" +
           hex4(numbers.below(0x10000)) + hex8(numbers.next()) + "}";
}

const char* const words[] = {"Paint", "Write", "Sound", "Media", "Net",   "Draw",  "Calc",
                             "Mail",  "Disk",  "Game",  "Photo", "Music", "Video", "Print",
                             "Scan",  "Fax",   "Type",  "Plan",  "Chart", "Tools"};

std::string word(Numbers& numbers) {
    return words[numbers.below(20)];
}

}  // namespace

Machine make(std::size_t wanted) {
    Builder b;
    Numbers numbers;
    b.key(hklm + "Config\\0001\\Display\\Settings").str("Resolution", "640,480").str("BitsPerPixel", "8");

    // Devices: the root enumerator, the BIOS, PCI, and ISA plug and play with the card among
    // other cards; each with its driver class key.
    std::uint32_t instances[4] = {5, 0, 0, 0};  // MEDIA, Display, Net, System
    const char* class_names[4] = {"MEDIA", "Display", "Net", "System"};
    auto next_device = [&](const std::string& path, const std::string& description) {
        std::uint32_t cls = numbers.below(4);
        std::uint32_t instance = instances[cls]++;
        device(b, numbers, path, class_names[cls], instance, description);
        driver_key(b, class_names[cls], instance, description,
                   word(numbers) + std::to_string(instance) + ".INF");
    };
    for (int n = 0; n < 40; n++)
        next_device(enum_key + "Root\\*PNP0C0" + std::to_string(n % 10) + "\\" + decimal4(n),
                    "System device");
    for (int n = 0; n < 60; n++)
        next_device(enum_key + "BIOS\\*PNP0" + hex4(0x100 + n).substr(1) + "\\0D", "Motherboard resource");
    for (int n = 0; n < 40; n++)
        next_device(enum_key + "ISAPNP\\CTL00" + std::to_string(20 + n) + "\\" + hex8(numbers.next()),
                    "ISA card");
    sound_card(b, numbers);
    for (int n = 0; n < 40; n++)
        next_device(enum_key + "ISAPNP\\OTH00" + std::to_string(40 + n) + "\\" + hex8(numbers.next()),
                    "ISA card");
    for (int n = 0; n < 400; n++) {
        next_device(enum_key + "PCI\\VEN_" + hex4(0x1000 + numbers.below(0x100)) + "&DEV_" +
                        hex4(numbers.below(0x10000)) + "\\BUS_00&DEV_" +
                        hex4(static_cast<std::uint32_t>(n)).substr(2) + "&FUNC_00",
                    word(numbers) + " PCI device");
    }
    look_alikes(b);

    // Multimedia resources of the other sound devices.
    for (std::uint32_t n = 5; n < 120; n++) {
        for (const char* type : {"aux", "mixer", "wave", "midi"}) {
            b.key(resources + type + "\\oth" + std::to_string(n % 7) + ".drv<" + decimal4(n) + ">")
                .str("Active", "1")
                .str("Driver", "oth" + std::to_string(n % 7) + ".drv")
                .str("SubClass", "MEDIA\\" + decimal4(n));
        }
    }

    for (const char* user : {".DEFAULT", "alice", "bob"}) {
        b.key(std::string("HKEY_USERS\\") + user + "\\Control Panel\\Desktop")
            .str("Wallpaper", "(None)")
            .str("ScreenSaveActive", "0");
    }

    // Programs and users until the registry has its size: each program with its settings,
    // its file types and classes, and each user with the settings of the programs.
    int program = 0;
    while (b.keys() < wanted) {
        std::string name = word(numbers) + word(numbers) + std::to_string(program);
        std::string vendor = "Vendor" + std::to_string(program % 23);
        std::string base =
            hklm + "SOFTWARE\\" + vendor + "\\" + name + "\\" + std::to_string(1 + program % 4) + ".0";
        b.key(base).str("Path", "C:\\PROGRA~1\\" + name).str("Version", std::to_string(program));
        for (int s = 0; s < 4; s++) {
            b.key(base + "\\Settings" + std::to_string(s))
                .dword("Flags", numbers.next())
                .str("Last", "C:\\MY DOCUMENTS\\" + word(numbers) + ".DOC")
                .bytes("Window", random_bytes(numbers, 28));
        }
        b.key(current_version + "Uninstall\\" + name)
            .str("DisplayName", name)
            .str("UninstallString", "C:\\PROGRA~1\\" + name + "\\UNINST.EXE");
        std::string ext =
            "." + std::string(1, static_cast<char>('a' + program % 26)) + std::to_string(program);
        b.key("HKEY_CLASSES_ROOT\\" + ext).str("", name + ".Document");
        b.key("HKEY_CLASSES_ROOT\\" + name + ".Document\\shell\\open\\command")
            .str("", "C:\\PROGRA~1\\" + name + "\\" + name + ".EXE \"%1\"");
        for (int c = 0; c < 4; c++) {
            std::string clsid = "HKEY_CLASSES_ROOT\\CLSID\\" + guid(numbers);
            b.key(clsid).str("", name + " Object " + std::to_string(c));
            b.key(clsid + "\\InprocServer32")
                .str("", "C:\\PROGRA~1\\" + name + "\\OBJ" + std::to_string(c) + ".DLL")
                .str("ThreadingModel", "Apartment");
            b.key(clsid + "\\ProgID").str("", name + ".Object." + std::to_string(c));
        }
        for (const char* user : {".DEFAULT", "alice", "bob"}) {
            std::string u = std::string("HKEY_USERS\\") + user + "\\Software\\" + vendor + "\\" + name;
            b.key(u + "\\Recent")
                .str("File1", "C:\\MY DOCUMENTS\\" + word(numbers) + ".TXT")
                .dword("Count", numbers.below(9));
            b.key(u + "\\Options").bytes("Toolbar", random_bytes(numbers, 16 + numbers.below(80)));
        }
        if (program % 50 == 0) {
            for (const char* user : {".DEFAULT", "alice", "bob"}) {
                std::string u = std::string("HKEY_USERS\\") + user;
                b.key(u + "\\AppEvents\\Schemes\\Apps\\.Default\\" + name + "\\.Current")
                    .str("", name + ".WAV");
            }
        }
        program++;
    }

    Machine m;
    m.registry = b.text();
    m.keys = b.keys();
    m.machine_ini =
        "; A large machine with the sound card installed.\r\n[System]\r\nWindowsDirectory=C:\\WINDOWS\r\n"
        "SystemDirectory=C:\\WINDOWS\\SYSTEM\r\nUserLanguage=0x0409\r\n\r\n"
        "[Mixer0]\r\nName=ESS AudioDrive Mixer\r\nControl1=0x8000,0x8000\r\n\r\n"
        "[Mixer1]\r\nName=Dream Sound Studio Mixer\r\nControl4=0\r\n";
    const char* windows_files[] = {"BANK5120.BIN", "LOADBANK.EXE", "FXSETUP.EXE",
                                   "WIN.INI",      "SYSTEM.INI",   "NOTEPAD.EXE"};
    const char* system_files[] = {"ES1868.DRV",   "ES1868.VXD",  "ESFM.DRV",     "ESSFM.DRV",
                                  "ESSMPORT.DRV", "ESSMPU.DRV",  "DREAM95.DRV",  "DREAM95.VXD",
                                  "MIXTWIN.EXE",  "MIXTWIN.INI", "KERNEL32.DLL", "MSJSTICK.DRV"};
    for (const char* f : windows_files)
        m.files.emplace_back(std::string("WINDOWS/") + f, std::string(f) + "\r\n");
    for (const char* f : system_files)
        m.files.emplace_back(std::string("WINDOWS/SYSTEM/") + f, std::string(f) + "\r\n");
    m.files.emplace_back("WINDOWS/INF/OTHER/VELMORA.INF", "[Version]\r\nSignature=\"$CHICAGO$\"\r\n");
    for (int n = 0; n < 400; n++) {
        m.files.emplace_back("WINDOWS/SYSTEM/SYS" + decimal4(static_cast<std::uint32_t>(n)) + ".DLL",
                             "library");
        m.files.emplace_back("WINDOWS/INF/DEV" + decimal4(static_cast<std::uint32_t>(n)) + ".INF",
                             "[Version]\r\n");
    }
    for (int n = 0; n < 200; n++) {
        m.files.emplace_back("PROGRA~1/APP" + std::to_string(n % 20) + "/FILE" + std::to_string(n) + ".DAT",
                             "data");
    }
    return m;
}

void write(const Machine& machine, const std::filesystem::path& folder) {
    auto put = [](const std::filesystem::path& path, const std::string& bytes) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        if (!out)
            throw std::runtime_error("cannot write " + path.string());
    };
    put(folder / "registry.reg", machine.registry);
    put(folder / "machine.ini", machine.machine_ini);
    std::filesystem::create_directories(folder / "drive_c");
    for (const auto& [path, bytes] : machine.files)
        put(folder / "drive_c" / path, bytes);
}

}  // namespace large_machine
