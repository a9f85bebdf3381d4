// The program's resources. A program carries the .res file that the resource compiler made
// from its resource script; the machine reads it on first use, as Windows reads the
// resource section of a program's image: entries of a type, a name and a language, each
// with its bytes, for FindResourceA and LoadIconA and for the dialog manager.
//
// The .res format: an empty entry first, then each entry's header (the data's size, the
// header's size, the type and the name, each a WORD 0xFFFF and a number or a zero-ended
// UTF-16 string, then the data version, the memory flags, the language, the version and
// the characteristics) and its data, both DWORD-aligned.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class ByteReader;

// The instance handle of the program's image, as its WinMain receives it.
constexpr std::uintptr_t kProgramModule = 0x00400000;

// A resource's type or name, and the menu and class of a dialog template: a number or a
// string (held in code page 1252); `none` for a template's missing menu or class.
struct NameOrOrdinal {
    bool none = false;
    std::uint16_t ordinal = 0;
    std::string name;

    bool is_ordinal() const { return !none && name.empty(); }
    static NameOrOrdinal number(std::uint16_t n) { return {false, n, {}}; }
    static NameOrOrdinal text(std::string s) { return {false, 0, std::move(s)}; }
    // Names match without regard to ASCII case.
    bool operator==(const NameOrOrdinal& other) const;
    std::string trace_text() const;  // "102", or the string
};

// A zero-ended UTF-16 string, as code page 1252 text ('?' for what it cannot hold).
std::string read_utf16(ByteReader& in);
// 0xFFFF and a number, or a zero-ended UTF-16 string; with `may_be_none`, a lone 0 WORD.
NameOrOrdinal read_name_or_ordinal(ByteReader& in, bool may_be_none);

struct Resource {
    NameOrOrdinal type;
    NameOrOrdinal name;
    std::uint16_t language = 0;
    std::uint16_t memory_flags = 0;
    std::uint32_t data_version = 0;
    std::uint32_t version = 0;
    std::uint32_t characteristics = 0;
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0;
};

// The entries of a .res file, the empty first one left out; their data points into
// `bytes`. Throws InputError naming `file_name` and the byte where the format breaks.
std::vector<Resource> parse_res(const std::uint8_t* bytes, std::size_t size, const std::string& file_name);

// An icon group's directory: one entry an image, naming the RT_ICON resource that holds it.
struct GroupIconEntry {
    int width = 0, height = 0;  // 0 in the directory stands for 256
    int colour_count = 0;
    int planes = 0, bit_count = 0;
    std::uint32_t bytes = 0;
    std::uint16_t icon_id = 0;
};
std::vector<GroupIconEntry> parse_group_icon(const Resource& group);

constexpr std::uint16_t kTypeIcon = 3;
constexpr std::uint16_t kTypeDialog = 5;
constexpr std::uint16_t kTypeGroupIcon = 14;
constexpr std::uint16_t kTypeVersion = 16;

class ModuleResources {
public:
    // The resources the program carries (none for a program without them). The first use
    // reads them; a .res that cannot be read stops the machine, as a broken image would.
    const std::vector<Resource>& all();
    // For tests: take these bytes as the program's resources.
    void use(const std::uint8_t* bytes, std::size_t size);

    // The resource of this type and name: of several languages, `language` first, then its
    // primary language's neutral form, then the neutral language, then the first.
    const Resource* find(const NameOrOrdinal& type, const NameOrOrdinal& name, std::uint16_t language);
    // Resource handles are numbers from kFirstResourceHandle, one per entry.
    std::uintptr_t handle_of(const Resource& resource);
    const Resource* from_handle(std::uintptr_t handle);
    // The entry whose data holds this address, if any: how the trace names a template.
    const Resource* holding(const void* address);

    struct Icon {
        std::uintptr_t handle;
        const Resource* group;  // null for the system's icon
        int width, height;
    };
    std::vector<Icon> icons;

private:
    bool loaded_ = false;
    std::vector<Resource> resources_;
};

constexpr std::uintptr_t kFirstResourceHandle = 0x900;
constexpr std::uintptr_t kFirstIconHandle = 0x600;

}  // namespace sim
