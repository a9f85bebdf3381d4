#include "dialog_template.h"

#include <algorithm>

#include "byte_reader.h"
#include "win_user.h"

namespace sim {

namespace {

DialogItem read_item(ByteReader& in, bool extended) {
    in.align(4);
    DialogItem item;
    if (extended) {
        item.help_id = in.u32();
        item.ex_style = in.u32();
        item.style = in.u32();
    } else {
        item.style = in.u32();
        item.ex_style = in.u32();
    }
    item.x = in.s16();
    item.y = in.s16();
    item.cx = in.s16();
    item.cy = in.s16();
    item.id = extended ? in.u32() : in.u16();
    item.window_class = read_name_or_ordinal(in, false);
    item.title = read_name_or_ordinal(in, true);
    std::size_t at = in.offset();
    std::uint16_t count = in.u16();
    // The extended form counts the bytes after the count; the classic form counts its
    // count WORD as well.
    std::size_t data = extended ? count : (count >= 2 ? count - 2u : 0u);
    if (!extended && count == 1)
        throw FormatError(at, "creation data of 1 byte cannot hold its own count");
    item.creation_data.assign(in.here(), in.here() + std::min(data, in.left()));
    in.skip(data, "an item's creation data");
    return item;
}

}  // namespace

DialogTemplate parse_dialog_template(const std::uint8_t* bytes, std::size_t size) {
    ByteReader in(bytes, size);
    DialogTemplate t;
    std::uint16_t first = in.u16();
    std::uint16_t second = in.u16();
    t.extended = first == 1 && second == 0xFFFF;
    std::uint16_t count;
    if (t.extended) {
        t.version = first;
        t.help_id = in.u32();
        t.ex_style = in.u32();
        t.style = in.u32();
    } else {
        t.style = static_cast<std::uint32_t>(first) | (static_cast<std::uint32_t>(second) << 16);
        t.ex_style = in.u32();
    }
    count = in.u16();
    t.x = in.s16();
    t.y = in.s16();
    t.cx = in.s16();
    t.cy = in.s16();
    t.menu = read_name_or_ordinal(in, true);
    t.window_class = read_name_or_ordinal(in, true);
    t.title = read_utf16(in);
    if (t.style & DS_SETFONT) {
        DialogFont font;
        font.point_size = in.u16();
        if (t.extended) {
            font.weight = in.u16();
            font.italic = in.u8() != 0;
            font.charset = in.u8();
        }
        font.typeface = read_utf16(in);
        t.font = std::move(font);
    }
    for (std::uint16_t i = 0; i < count; i++)
        t.items.push_back(read_item(in, t.extended));
    return t;
}

}  // namespace sim
