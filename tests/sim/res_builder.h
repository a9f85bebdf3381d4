// Small fixtures in the binary forms the machine reads: dialog templates, as a program hands
// them to CreateDialogIndirectParamA, and .res files, as the resource compiler writes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace res {

class Bytes {
public:
    std::vector<std::uint8_t> data;

    void u8(std::uint8_t v) { data.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    // A zero-ended UTF-16 string of ASCII text.
    void text(const std::string& s) {
        for (char c : s)
            u16(static_cast<unsigned char>(c));
        u16(0);
    }
    void align(std::size_t unit) {
        while (data.size() % unit)
            u8(0);
    }
};

struct Item {
    std::uint32_t style;
    std::int16_t x, y, cx, cy;
    std::uint32_t id;
    std::string title = {};
    std::uint32_t ex_style = 0;
    std::uint16_t class_ordinal = 0x0080;  // the button class
};

struct Dialog {
    std::uint32_t style;  // DS_SETFONT (0x40) adds the font below
    std::int16_t x, y, cx, cy;
    std::vector<Item> items;
    bool extended = false;
    std::uint32_t ex_style = 0;
    std::string title = {};
    std::uint16_t point_size = 8;
    std::string typeface = "MS Sans Serif";
};

inline std::vector<std::uint8_t> dialog_template(const Dialog& d) {
    Bytes b;
    if (d.extended) {
        b.u16(1);
        b.u16(0xFFFF);
        b.u32(0);  // help id
        b.u32(d.ex_style);
        b.u32(d.style);
    } else {
        b.u32(d.style);
        b.u32(d.ex_style);
    }
    b.u16(static_cast<std::uint16_t>(d.items.size()));
    for (std::int16_t v : {d.x, d.y, d.cx, d.cy})
        b.u16(static_cast<std::uint16_t>(v));
    b.u16(0);  // no menu
    b.u16(0);  // the dialog class
    b.text(d.title);
    if (d.style & 0x40) {
        b.u16(d.point_size);
        if (d.extended) {
            b.u16(0);  // weight
            b.u8(0);   // italic
            b.u8(1);   // character set
        }
        b.text(d.typeface);
    }
    for (const Item& i : d.items) {
        b.align(4);
        if (d.extended) {
            b.u32(0);  // help id
            b.u32(i.ex_style);
            b.u32(i.style);
        } else {
            b.u32(i.style);
            b.u32(i.ex_style);
        }
        for (std::int16_t v : {i.x, i.y, i.cx, i.cy})
            b.u16(static_cast<std::uint16_t>(v));
        if (d.extended) {
            b.u32(i.id);
        } else {
            b.u16(static_cast<std::uint16_t>(i.id));
        }
        b.u16(0xFFFF);
        b.u16(i.class_ordinal);
        b.text(i.title);
        b.u16(0);  // no creation data
    }
    return b.data;
}

struct Entry {
    std::uint16_t type;
    std::uint16_t name;  // 0: the name is `text_name`
    std::uint16_t language;
    std::vector<std::uint8_t> data;
    std::string text_name = {};
};

inline std::vector<std::uint8_t> res_file(const std::vector<Entry>& entries) {
    Bytes b;
    auto entry = [&b](std::uint16_t type, std::uint16_t name, const std::string& text_name,
                      std::uint16_t language, const std::vector<std::uint8_t>& data) {
        Bytes header;
        header.u16(0xFFFF);
        header.u16(type);
        if (name || text_name.empty()) {
            header.u16(0xFFFF);
            header.u16(name);
        } else {
            header.text(text_name);
        }
        header.align(4);
        header.u32(0);       // data version
        header.u16(0x1030);  // memory flags
        header.u16(language);
        header.u32(0);  // version
        header.u32(0);  // characteristics
        b.u32(static_cast<std::uint32_t>(data.size()));
        b.u32(static_cast<std::uint32_t>(header.data.size() + 8));
        b.data.insert(b.data.end(), header.data.begin(), header.data.end());
        b.data.insert(b.data.end(), data.begin(), data.end());
        b.align(4);
    };
    entry(0, 0, "", 0, {});
    for (const Entry& e : entries)
        entry(e.type, e.name, e.text_name, e.language, e.data);
    return b.data;
}

}  // namespace res
