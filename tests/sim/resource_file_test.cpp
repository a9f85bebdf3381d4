// The .res format and dialog templates: the volume link's compiled resources read back field
// by field, and small files that show how the reader copes with languages and broken bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "byte_reader.h"
#include "dialog_template.h"
#include "error.h"
#include "res_builder.h"
#include "resources.h"
#include "win_user.h"

namespace sim {
void PrintTo(const NameOrOrdinal& n, std::ostream* os) {
    *os << n.trace_text();
}
}  // namespace sim

namespace {

std::vector<std::uint8_t> read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LinkResources : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = read_file(MIXTWIN_RES);
        ASSERT_FALSE(bytes.empty()) << MIXTWIN_RES;
        resources = sim::parse_res(bytes.data(), bytes.size(), MIXTWIN_RES);
    }
    const sim::Resource* find(std::uint16_t type, std::uint16_t name) const {
        for (const sim::Resource& r : resources) {
            if (r.type.is_ordinal() && r.type.ordinal == type && r.name.is_ordinal() &&
                r.name.ordinal == name)
                return &r;
        }
        return nullptr;
    }
    sim::DialogTemplate dialog(std::uint16_t name) const {
        const sim::Resource* r = find(sim::kTypeDialog, name);
        EXPECT_NE(r, nullptr);
        return r ? sim::parse_dialog_template(r->data, r->size) : sim::DialogTemplate{};
    }

    std::vector<std::uint8_t> bytes;
    std::vector<sim::Resource> resources;
};

TEST_F(LinkResources, HoldTheTwoDialogsTheIconAndTheVersion) {
    // Type, name and language of each resource, in any order.
    std::set<std::tuple<int, int, int>> seen;
    for (const sim::Resource& r : resources) {
        ASSERT_TRUE(r.type.is_ordinal() && r.name.is_ordinal())
            << r.type.trace_text() << " " << r.name.trace_text();
        seen.insert({r.type.ordinal, r.name.ordinal, r.language});
    }
    const std::set<std::tuple<int, int, int>> want = {
        {sim::kTypeIcon, 1, 0x040C},     {sim::kTypeIcon, 2, 0x040C},     {sim::kTypeGroupIcon, 128, 0x040C},
        {sim::kTypeDialog, 102, 0x040C}, {sim::kTypeDialog, 129, 0x040C}, {sim::kTypeVersion, 1, 0x040C},
    };
    EXPECT_EQ(seen, want);
}

TEST_F(LinkResources, TheDialogTemplatesAsTheTablesSayThem) {
    const std::uint32_t dialog_style = WS_POPUP | WS_THICKFRAME | DS_SETFONT;
    const std::uint32_t ok_style = WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON;
    const std::uint32_t cancel_style = WS_CHILD | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON;
    struct WantItem {
        std::uint32_t id;
        const char* text;
        std::uint32_t style;
        std::int16_t x, y, cx, cy;
    };
    struct Want {
        const char* name;
        std::uint16_t id;
        bool extended;
        std::uint32_t ex_style;
        std::int16_t cx, cy;
        std::uint8_t charset;
        std::vector<WantItem> items;
    };
    const Want want[] = {
        {"host, extended form",
         102,
         true,
         WS_EX_APPWINDOW,
         13,
         13,
         1,
         {{IDOK, "OK", ok_style, 0, 0, 6, 6}, {IDCANCEL, "Annuler", cancel_style, 0, 0, 6, 6}}},
        {"link, classic form",
         129,
         false,
         0,
         20,
         20,
         0,
         {{IDOK, "OK", ok_style, 7, 7, 6, 6}, {IDCANCEL, "Cancel", cancel_style, 7, 7, 6, 6}}},
    };
    for (const Want& w : want) {
        SCOPED_TRACE(w.name);
        sim::DialogTemplate t = dialog(w.id);
        EXPECT_EQ(t.extended, w.extended);
        EXPECT_EQ(t.version, w.extended ? 1 : 0);
        EXPECT_EQ(t.help_id, 0u);
        EXPECT_EQ(t.style, dialog_style);
        EXPECT_EQ(t.ex_style, w.ex_style);
        EXPECT_EQ(t.x, 0);
        EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.cx, w.cx);
        EXPECT_EQ(t.cy, w.cy);
        EXPECT_TRUE(t.menu.none);
        EXPECT_TRUE(t.window_class.none);
        EXPECT_EQ(t.title, "");
        ASSERT_TRUE(t.font.has_value());
        EXPECT_EQ(t.font->point_size, 8);
        EXPECT_EQ(t.font->typeface, "MS Sans Serif");
        EXPECT_EQ(t.font->weight, 0);
        EXPECT_FALSE(t.font->italic);
        EXPECT_EQ(t.font->charset, w.charset);
        ASSERT_EQ(t.items.size(), w.items.size());
        for (std::size_t i = 0; i < t.items.size(); i++) {
            SCOPED_TRACE(w.items[i].text);
            const sim::DialogItem& item = t.items[i];
            EXPECT_EQ(item.id, w.items[i].id);
            EXPECT_EQ(item.window_class, sim::NameOrOrdinal::number(sim::kButtonClass));
            EXPECT_EQ(item.title, sim::NameOrOrdinal::text(w.items[i].text));
            EXPECT_EQ(item.style, w.items[i].style);
            EXPECT_EQ(item.ex_style, 0u);
            EXPECT_EQ(item.help_id, 0u);
            EXPECT_EQ(item.x, w.items[i].x);
            EXPECT_EQ(item.y, w.items[i].y);
            EXPECT_EQ(item.cx, w.items[i].cx);
            EXPECT_EQ(item.cy, w.items[i].cy);
            EXPECT_TRUE(item.creation_data.empty());
            EXPECT_EQ(item.style & WS_VISIBLE, 0u) << "nothing can be seen";
        }
    }
}

TEST_F(LinkResources, TheIconGroupHoldsA32And16PixelImageOf16Colours) {
    const sim::Resource* group = find(sim::kTypeGroupIcon, 128);
    ASSERT_NE(group, nullptr);
    auto entries = sim::parse_group_icon(*group);
    ASSERT_EQ(entries.size(), 2u);
    const int sizes[] = {32, 16};
    for (std::size_t i = 0; i < entries.size(); i++) {
        SCOPED_TRACE(sizes[i]);
        EXPECT_EQ(entries[i].icon_id, i + 1);
        EXPECT_EQ(entries[i].width, sizes[i]);
        EXPECT_EQ(entries[i].height, sizes[i]);
        EXPECT_EQ(entries[i].colour_count, 16);
        EXPECT_EQ(entries[i].bit_count, 4);
        // The image itself: a bitmap header of that size (the height counts the mask too)
        // with 4 bits a pixel.
        const sim::Resource* image = find(sim::kTypeIcon, entries[i].icon_id);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size, entries[i].bytes);
        sim::ByteReader in(image->data, image->size);
        EXPECT_EQ(in.u32(), 40u);
        EXPECT_EQ(static_cast<int>(in.u32()), sizes[i]);
        EXPECT_EQ(static_cast<int>(in.u32()), 2 * sizes[i]);
        EXPECT_EQ(in.u16(), 1);
        EXPECT_EQ(in.u16(), 4);
    }
}

// A version block: its key, its value's bytes and its children.
struct Block {
    std::string key;
    std::vector<std::uint8_t> value;
    std::vector<Block> children;
};

Block read_block(sim::ByteReader& in) {
    std::size_t start = in.offset();
    std::uint16_t length = in.u16();
    std::uint16_t value_length = in.u16();
    std::uint16_t type = in.u16();
    Block b;
    b.key = sim::read_utf16(in);
    in.align(4);
    std::size_t value_bytes = type == 1 ? value_length * 2u : value_length;
    b.value.assign(in.here(), in.here() + std::min(value_bytes, start + length - in.offset()));
    in.skip(b.value.size(), "a value");
    in.align(4);
    while (in.offset() < start + length)
        b.children.push_back(read_block(in));
    return b;
}

std::string text_of(const Block& b) {
    std::string out;
    for (std::size_t i = 0; i + 1 < b.value.size() && b.value[i]; i += 2)
        out += static_cast<char>(b.value[i]);
    return out;
}

TEST_F(LinkResources, TheVersionIs1001AndDescribesAVolumeControl) {
    const sim::Resource* version = find(sim::kTypeVersion, 1);
    ASSERT_NE(version, nullptr);
    sim::ByteReader in(version->data, version->size);
    Block root = read_block(in);
    EXPECT_EQ(root.key, "VS_VERSION_INFO");
    ASSERT_GE(root.value.size(), 24u);
    sim::ByteReader fixed(root.value.data(), root.value.size());
    EXPECT_EQ(fixed.u32(), 0xFEEF04BDu);
    fixed.u32();
    EXPECT_EQ(fixed.u32(), 0x00010000u) << "file version 1.0";
    EXPECT_EQ(fixed.u32(), 0x00000001u) << "file version .0.1";
    EXPECT_EQ(fixed.u32(), 0x00010000u) << "product version 1.0";
    EXPECT_EQ(fixed.u32(), 0x00000001u) << "product version .0.1";
    std::string description;
    for (const Block& info : root.children) {
        for (const Block& table : info.children) {
            for (const Block& value : table.children) {
                if (value.key == "FileDescription")
                    description = text_of(value);
            }
        }
    }
    EXPECT_EQ(description, "Volume control");
}

TEST(ResourceFile, TheUsersLanguageThenTheNeutralOnesThenTheFirst) {
    std::vector<std::uint8_t> dialog = res::dialog_template({0x80000000, 0, 0, 10, 10, {}});
    struct Case {
        const char* name;
        std::vector<std::uint16_t> languages;  // of one dialog 7, in file order
        std::uint16_t user;
        std::uint16_t want;
    };
    const Case cases[] = {
        {"the user's own", {0x0407, 0x040C, 0x0409}, 0x040C, 0x040C},
        {"the primary language's neutral form", {0x0407, 0x000C}, 0x040C, 0x000C},
        {"the neutral language", {0x0407, 0x0000}, 0x040C, 0x0000},
        {"else the first", {0x0407, 0x0409}, 0x040C, 0x0407},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<res::Entry> entries;
        for (std::uint16_t language : c.languages)
            entries.push_back({sim::kTypeDialog, 7, language, dialog});
        std::vector<std::uint8_t> file = res::res_file(entries);
        sim::ModuleResources resources;
        resources.use(file.data(), file.size());
        const sim::Resource* found = resources.find(sim::NameOrOrdinal::number(sim::kTypeDialog),
                                                    sim::NameOrOrdinal::number(7), c.user);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->language, c.want);
    }
}

TEST(ResourceFile, NamesAsStringsMatchWithoutRegardToCase) {
    std::vector<std::uint8_t> file = res::res_file({{sim::kTypeDialog, 0, 0x0409, {1, 2, 3, 4}, "SETUPBOX"}});
    sim::ModuleResources resources;
    resources.use(file.data(), file.size());
    const sim::Resource* found = resources.find(sim::NameOrOrdinal::number(sim::kTypeDialog),
                                                sim::NameOrOrdinal::text("SetupBox"), 0x0409);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->size, 4u);
    EXPECT_EQ(
        resources.find(sim::NameOrOrdinal::number(sim::kTypeDialog), sim::NameOrOrdinal::number(1), 0x0409),
        nullptr);
}

TEST(ResourceFile, BrokenFilesAreRefusedNamingTheByte) {
    std::vector<std::uint8_t> good = res::res_file({{sim::kTypeDialog, 7, 0x0409, {1, 2, 3, 4}}});
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* error;
    };
    std::vector<std::uint8_t> cut(good.begin(), good.end() - 2);
    std::vector<std::uint8_t> no_empty_first(good.begin() + 32, good.end());
    std::vector<std::uint8_t> wrong_header = good;
    wrong_header[32 + 4] = 0x30;  // the second entry's header size
    const Case cases[] = {
        {"the data cut short", cut, "res: byte 64: the data ends where a resource's data should be"},
        {"no empty entry first", no_empty_first, "res: byte 0: a .res file begins with an empty entry"},
        {"a header size that is not the header's", wrong_header,
         "res: byte 32: the header's size is 48 but its fields take 32 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            sim::parse_res(c.bytes.data(), c.bytes.size(), "res");
            ADD_FAILURE() << "no error";
        } catch (const sim::InputError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST(DialogTemplate, ClassicAndExtendedFormsOfTheSameDialogReadAlike) {
    res::Dialog d{
        WS_POPUP | DS_SETFONT, 1, 2, 30, 40, {{WS_CHILD | BS_DEFPUSHBUTTON, 3, 4, 5, 6, 1000, "Go"}}};
    for (bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "extended" : "classic");
        d.extended = extended;
        std::vector<std::uint8_t> bytes = res::dialog_template(d);
        sim::DialogTemplate t = sim::parse_dialog_template(bytes.data(), bytes.size());
        EXPECT_EQ(t.extended, extended);
        EXPECT_EQ(t.style, static_cast<std::uint32_t>(WS_POPUP | DS_SETFONT));
        EXPECT_EQ(t.x, 1);
        EXPECT_EQ(t.cy, 40);
        ASSERT_EQ(t.items.size(), 1u);
        EXPECT_EQ(t.items[0].id, 1000u);
        EXPECT_EQ(t.items[0].title, sim::NameOrOrdinal::text("Go"));
        EXPECT_EQ(t.items[0].cy, 6);
    }
}

TEST(DialogTemplate, ATemplateThatEndsTooSoonNamesWhere) {
    std::vector<std::uint8_t> bytes =
        res::dialog_template({WS_POPUP | DS_SETFONT, 0, 0, 10, 10, {{WS_CHILD, 0, 0, 5, 5, 1, "A"}}});
    struct Case {
        std::size_t keep;
        const char* error;
    };
    const Case cases[] = {
        {10, "byte 10: the data ends where a WORD should be"},  // inside the fixed part
        {bytes.size() - 2,
         "byte 82: the data ends where a WORD should be"},  // the item's creation data count
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keep);
        try {
            sim::parse_dialog_template(bytes.data(), c.keep);
            ADD_FAILURE() << "no error";
        } catch (const sim::FormatError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

}  // namespace
