// Dialog templates, as the resource compiler writes them and CreateDialogIndirectParamA
// takes them: the classic form (DLGTEMPLATE and its DLGITEMTEMPLATE items) and the
// extended form (a version, 0xFFFF, a help id, and items with help ids and 32-bit ids).
//
// After the fixed part come the menu, the window class and the title (each none, 0xFFFF
// and a number, or a zero-ended UTF-16 string), then with DS_SETFONT the point size (and
// in the extended form the weight, italic flag and character set) and the typeface. Each
// item starts on a DWORD boundary: its fixed part, its class, its title and its creation
// data (a WORD count, then the bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "resources.h"

namespace sim {

struct DialogFont {
    std::uint16_t point_size = 0;
    std::uint16_t weight = 0;  // extended form only
    bool italic = false;       // extended form only
    std::uint8_t charset = 0;  // extended form only
    std::string typeface;
};

struct DialogItem {
    std::uint32_t help_id = 0;  // extended form only
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t id = 0;        // a WORD in the classic form
    NameOrOrdinal window_class;  // 0x0080 is the predefined button class
    NameOrOrdinal title;
    std::vector<std::uint8_t> creation_data;
};

struct DialogTemplate {
    bool extended = false;
    std::uint16_t version = 0;  // extended form: 1
    std::uint32_t help_id = 0;  // extended form only
    std::uint32_t style = 0;
    std::uint32_t ex_style = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal window_class;
    std::string title;
    std::optional<DialogFont> font;  // with DS_SETFONT
    std::vector<DialogItem> items;
};

constexpr std::uint16_t kButtonClass = 0x0080;

// Reads a template from `size` bytes (a template handed over in memory has no size of its
// own: pass what may be read). Throws FormatError naming the byte where it breaks.
DialogTemplate parse_dialog_template(const std::uint8_t* bytes, std::size_t size);

}  // namespace sim
