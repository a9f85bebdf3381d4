#include "resources.h"

#include <array>

#include "byte_reader.h"
#include "error.h"
#include "machine.h"
#include "text.h"

// The bytes of the program's .res file, when the program carries one: the build of a
// program with resources links a generated source that defines both (see
// sim/embed_res.cmake). A program without resources leaves them undefined.
extern "C" {
__attribute__((weak)) extern const unsigned char simwin_module_resources[];
__attribute__((weak)) extern const unsigned long simwin_module_resources_size;
}

namespace sim {

namespace {

// Code page 1252's characters of 0x80..0x9F; 0 where it leaves the byte undefined.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char cp1252_of(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kHigh.size(); i++) {
        if (kHigh[i] != 0 && kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool same_name(const std::string& a, const std::string& b) {
    return equal_ascii_nocase(a, b);
}

}  // namespace

bool NameOrOrdinal::operator==(const NameOrOrdinal& other) const {
    if (none || other.none)
        return none == other.none;
    if (is_ordinal() != other.is_ordinal())
        return false;
    return is_ordinal() ? ordinal == other.ordinal : same_name(name, other.name);
}

std::string NameOrOrdinal::trace_text() const {
    if (none)
        return "none";
    return is_ordinal() ? std::to_string(ordinal) : c_literal(name);
}

std::string read_utf16(ByteReader& in) {
    std::string out;
    for (char16_t c = in.u16(); c != 0; c = in.u16())
        out += cp1252_of(c);
    return out;
}

NameOrOrdinal read_name_or_ordinal(ByteReader& in, bool may_be_none) {
    std::uint16_t first = in.u16();
    if (first == 0xFFFF)
        return NameOrOrdinal::number(in.u16());
    if (first == 0) {
        if (may_be_none)
            return {true, 0, {}};
        throw FormatError(in.offset() - 2, "an empty name");
    }
    std::string name(1, cp1252_of(first));
    name += read_utf16(in);
    return NameOrOrdinal::text(std::move(name));
}

std::vector<Resource> parse_res(const std::uint8_t* bytes, std::size_t size, const std::string& file_name) {
    std::vector<Resource> out;
    ByteReader in(bytes, size);
    try {
        bool first = true;
        while (in.left() > 0) {
            std::size_t start = in.offset();
            std::uint32_t data_size = in.u32();
            std::uint32_t header_size = in.u32();
            Resource r;
            r.type = read_name_or_ordinal(in, false);
            r.name = read_name_or_ordinal(in, false);
            in.align(4);
            r.data_version = in.u32();
            r.memory_flags = in.u16();
            r.language = in.u16();
            r.version = in.u32();
            r.characteristics = in.u32();
            if (in.offset() - start != header_size) {
                throw FormatError(start, "the header's size is " + std::to_string(header_size) +
                                             " but its fields take " + std::to_string(in.offset() - start) +
                                             " bytes");
            }
            r.data = in.here();
            r.size = data_size;
            in.skip(data_size, "a resource's data");
            in.align(4);
            if (first) {
                // The file opens with an empty entry of type 0 and name 0.
                if (data_size != 0 || !r.type.is_ordinal() || r.type.ordinal != 0) {
                    throw FormatError(start, "a .res file begins with an empty entry");
                }
                first = false;
                continue;
            }
            out.push_back(std::move(r));
        }
    } catch (const FormatError& error) {
        throw InputError(file_name, 0, error.what());
    }
    return out;
}

std::vector<GroupIconEntry> parse_group_icon(const Resource& group) {
    ByteReader in(group.data, group.size);
    std::uint16_t reserved = in.u16();
    std::uint16_t type = in.u16();
    std::uint16_t count = in.u16();
    if (reserved != 0 || type != 1)
        throw FormatError(0, "not an icon directory");
    std::vector<GroupIconEntry> out;
    for (std::uint16_t i = 0; i < count; i++) {
        GroupIconEntry e;
        e.width = in.u8();
        e.height = in.u8();
        e.colour_count = in.u8();
        in.u8();
        e.planes = in.u16();
        e.bit_count = in.u16();
        e.bytes = in.u32();
        e.icon_id = in.u16();
        if (e.width == 0)
            e.width = 256;
        if (e.height == 0)
            e.height = 256;
        out.push_back(e);
    }
    return out;
}

const std::vector<Resource>& ModuleResources::all() {
    if (loaded_)
        return resources_;
    loaded_ = true;
    if (&simwin_module_resources_size == nullptr || simwin_module_resources == nullptr)
        return resources_;
    try {
        resources_ =
            parse_res(simwin_module_resources, simwin_module_resources_size, "the program's resources");
    } catch (const InputError& error) {
        machine().stop(error.what());
    }
    return resources_;
}

void ModuleResources::use(const std::uint8_t* bytes, std::size_t size) {
    resources_ = parse_res(bytes, size, "resources");
    loaded_ = true;
    icons.clear();
}

const Resource* ModuleResources::find(const NameOrOrdinal& type, const NameOrOrdinal& name,
                                      std::uint16_t language) {
    const Resource* best = nullptr;
    int best_rank = 5;
    for (const Resource& r : all()) {
        if (!(r.type == type) || !(r.name == name))
            continue;
        int rank = r.language == language                         ? 0
                   : r.language == (language & 0x3FF)             ? 1
                   : r.language == 0x0400 || r.language == 0x0000 ? 2
                                                                  : 3;
        if (rank < best_rank) {
            best = &r;
            best_rank = rank;
        }
    }
    return best;
}

std::uintptr_t ModuleResources::handle_of(const Resource& resource) {
    return kFirstResourceHandle + static_cast<std::uintptr_t>(&resource - all().data());
}

const Resource* ModuleResources::from_handle(std::uintptr_t handle) {
    const auto& list = all();
    if (handle < kFirstResourceHandle || handle - kFirstResourceHandle >= list.size())
        return nullptr;
    return &list[handle - kFirstResourceHandle];
}

const Resource* ModuleResources::holding(const void* address) {
    const auto* p = static_cast<const std::uint8_t*>(address);
    for (const Resource& r : all()) {
        if (p >= r.data && p < r.data + r.size)
            return &r;
    }
    return nullptr;
}

}  // namespace sim
