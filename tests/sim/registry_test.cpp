#include "registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

std::vector<std::string> paths_in_order(const Registry& reg) {
    std::vector<std::string> paths;
    for (const RegKey* key : reg.keys_in_order())
        paths.push_back(key->path());
    return paths;
}

TEST(RootNames, MatchAnyCaseAndNothingElse) {
    struct Case {
        const char* name;
        std::optional<Root> root;
    };
    const Case cases[] = {
        {"HKEY_CLASSES_ROOT", Root::ClassesRoot},
        {"hkey_current_user", Root::CurrentUser},
        {"Hkey_Local_Machine", Root::LocalMachine},
        {"HKEY_USERS", Root::Users},
        {"HKEY_CURRENT_CONFIG", Root::CurrentConfig},
        {"hKEY_dYN_dATA", Root::DynData},
        {"", std::nullopt},
        {"HKLM", std::nullopt},
        {"HKEY_LOCAL_MACHINE ", std::nullopt},
        {"HKEY_LOCAL_MACHINE\\Software", std::nullopt},
        {"HKEY_USER", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(root_from_name(c.name), c.root);
    }
    for (Root r : {Root::ClassesRoot, Root::CurrentUser, Root::LocalMachine, Root::Users, Root::CurrentConfig,
                   Root::DynData}) {
        EXPECT_EQ(root_from_name(root_name(r)), r);
    }
}

TEST(FoldCase, FoldsLettersOfCodePage1252Only) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"ascii letters", "Software\\abc", "SOFTWARE\\ABC"},
        {"ascii neighbours of letters stay", "@[`{~_^", "@[`{~_^"},
        {"digits and punctuation stay", "0-9 .,;", "0-9 .,;"},
        {"latin-1 small letters", "\xe0\xe9\xf6\xfe", "\xc0\xc9\xd6\xde"},
        {"latin-1 capitals stay", "\xc0\xc9\xd6\xde", "\xc0\xc9\xd6\xde"},
        {"division sign is no letter", "\xf7", "\xf7"},
        {"multiplication sign stays", "\xd7", "\xd7"},
        {"sharp s has no capital", "\xdf", "\xdf"},
        {"s, oe and z with caron", "\x9a\x9c\x9e", "\x8a\x8c\x8e"},
        {"y with diaeresis", "\xff", "\x9f"},
        {"other high bytes stay", "\x80\x9b\xa0\xb5\xbf", "\x80\x9b\xa0\xb5\xbf"},
        {"bytes below space stay", std::string("\x01\x1f", 2), std::string("\x01\x1f", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fold_case(c.in), c.out);
    }
}

TEST(RegistryKeys, RootsAreSeparateTrees) {
    Registry reg;
    RegKey* classes = reg.create(reg.root(Root::ClassesRoot), ".txt");
    ASSERT_NE(classes, nullptr);
    EXPECT_EQ(reg.find(reg.root(Root::LocalMachine), ".txt"), nullptr);
    EXPECT_EQ(reg.find(reg.root(Root::LocalMachine), "Software\\Classes\\.txt"), nullptr);
    EXPECT_EQ(reg.find(reg.root(Root::CurrentUser), ".txt"), nullptr);
    EXPECT_EQ(classes->path(), "HKEY_CLASSES_ROOT\\.txt");
    EXPECT_EQ(reg.root(Root::DynData)->path(), "HKEY_DYN_DATA");
    EXPECT_EQ(reg.root(Root::Users)->parent, nullptr);
}

TEST(RegistryKeys, FindAndCreateIgnoreCaseAndKeepTheFirstCase) {
    Registry reg;
    RegKey* hklm = reg.root(Root::LocalMachine);
    RegKey* acme = reg.create(hklm, "Software\\Acme \xc9t\xe9");
    ASSERT_NE(acme, nullptr);
    EXPECT_EQ(reg.find(hklm, "SOFTWARE\\acme \xe9T\xc9"), acme);
    EXPECT_EQ(reg.create(hklm, "software\\ACME \xc9T\xc9"), acme);
    EXPECT_EQ(acme->name, "Acme \xc9t\xe9");
    EXPECT_EQ(acme->path(), "HKEY_LOCAL_MACHINE\\Software\\Acme \xc9t\xe9");
    EXPECT_EQ(hklm->children.size(), 1u);
    EXPECT_EQ(reg.find(hklm, ""), hklm);
    EXPECT_EQ(reg.find(acme, ""), acme);
    // Letters only: '[' and '{' are different names.
    reg.create(hklm, "a[");
    EXPECT_EQ(reg.find(hklm, "A{"), nullptr);
}

TEST(RegistryKeys, BadPathsFindAndCreateNothing) {
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"doubled backslash", "A\\\\B"},
        {"trailing backslash", "A\\"},
        {"leading backslash", "\\A"},
        {"backslash alone", "\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Registry reg;
        RegKey* hklm = reg.root(Root::LocalMachine);
        reg.mark_saved();
        EXPECT_EQ(reg.create(hklm, c.path), nullptr);
        EXPECT_EQ(reg.find(hklm, c.path), nullptr);
        EXPECT_TRUE(hklm->children.empty());
        EXPECT_FALSE(reg.changed());
    }
    Registry reg;
    EXPECT_EQ(reg.find(nullptr, "A"), nullptr);
    EXPECT_EQ(reg.create(nullptr, "A"), nullptr);
    EXPECT_EQ(reg.find(reg.root(Root::Users), "Missing\\Key"), nullptr);
}

TEST(RegistryKeys, NewKeysGoToTheEndOfTheKeyOrder) {
    Registry reg;
    RegKey* hklm = reg.root(Root::LocalMachine);
    reg.create(hklm, "A\\B");
    reg.create(reg.root(Root::ClassesRoot), "C");
    reg.create(hklm, "A\\D");
    reg.create(hklm, "a\\b");  // exists: keeps its place
    reg.create(hklm, "A");
    EXPECT_EQ(paths_in_order(reg), (std::vector<std::string>{
                                       "HKEY_LOCAL_MACHINE\\A",
                                       "HKEY_LOCAL_MACHINE\\A\\B",
                                       "HKEY_CLASSES_ROOT\\C",
                                       "HKEY_LOCAL_MACHINE\\A\\D",
                                   }));
}

TEST(RegistryValues, SetFindReplaceAndDelete) {
    Registry reg;
    RegKey& key = *reg.create(reg.root(Root::CurrentUser), "K");
    reg.set_value(key, "Path", kRegSz, std::string("C:\\\0", 4));
    reg.set_value(key, "", kRegSz, std::string("default\0", 8));
    reg.set_value(key, "Caf\xe9", kRegDword, std::string("\x01\x00\x00\x00", 4));

    const RegValue* path = reg.value(key, "PATH");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->name, "Path");
    EXPECT_EQ(path->data, std::string("C:\\\0", 4));
    ASSERT_NE(reg.value(key, ""), nullptr);
    EXPECT_EQ(reg.value(key, "")->data, std::string("default\0", 8));
    ASSERT_NE(reg.value(key, "CAF\xc9"), nullptr);
    EXPECT_EQ(reg.value(key, "CAF\xc9")->type, kRegDword);
    EXPECT_EQ(reg.value(key, "Pat"), nullptr);

    // Replacing keeps the value's place and the case it was created with, and drops the
    // text it had in the file so it is written anew.
    key.values[0].raw = "\"Path\"=\"C:\\\\\"";
    reg.set_value(key, "pATH", kRegBinary, "\x02");
    ASSERT_EQ(key.values.size(), 3u);
    EXPECT_EQ(key.values[0].name, "Path");
    EXPECT_EQ(key.values[0].type, kRegBinary);
    EXPECT_EQ(key.values[0].data, "\x02");
    EXPECT_EQ(key.values[0].raw, "");

    EXPECT_TRUE(reg.delete_value(key, "path"));
    EXPECT_FALSE(reg.delete_value(key, "path"));
    EXPECT_EQ(reg.value(key, "Path"), nullptr);
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_EQ(key.values[0].name, "");
    EXPECT_EQ(key.values[1].name, "Caf\xe9");
}

// A small tree: HKLM\Software\{Acme\{Tools\Bin, Data}, Other}, created in that order.
class DeleteTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        hklm = reg.root(Root::LocalMachine);
        acme = reg.create(hklm, "Software\\AcMe");
        tools = reg.create(acme, "Tools\\Bin")->parent;
        data = reg.create(acme, "Data");
        other = reg.create(hklm, "Software\\Other");
        reg.set_value(*data, "v", kRegSz, std::string("x\0", 2));
        reg.mark_saved();
    }

    Registry reg;
    RegKey* hklm = nullptr;
    RegKey* acme = nullptr;
    RegKey* tools = nullptr;
    RegKey* data = nullptr;
    RegKey* other = nullptr;
};

TEST_F(DeleteTreeTest, MarksTheSubtreeDeadAndLeavesSiblings) {
    RegKey* bin = reg.find(tools, "Bin");
    reg.delete_tree(*acme);

    for (RegKey* dead : {acme, tools, bin, data}) {
        SCOPED_TRACE(dead->name);
        EXPECT_FALSE(dead->alive);
    }
    // The dead keys are still readable through the pointers that handles hold.
    EXPECT_EQ(bin->path(), "HKEY_LOCAL_MACHINE\\Software\\AcMe\\Tools\\Bin");
    EXPECT_EQ(data->values.size(), 1u);

    EXPECT_EQ(reg.find(hklm, "Software\\Acme"), nullptr);
    EXPECT_EQ(reg.find(hklm, "Software\\Acme\\Data"), nullptr);
    EXPECT_EQ(reg.find(hklm, "Software\\Other"), other);
    EXPECT_TRUE(other->alive);
    EXPECT_EQ(paths_in_order(reg), (std::vector<std::string>{
                                       "HKEY_LOCAL_MACHINE\\Software",
                                       "HKEY_LOCAL_MACHINE\\Software\\Other",
                                   }));
    EXPECT_TRUE(reg.changed());
}

TEST_F(DeleteTreeTest, DeadKeysTakeNoNewKeysOrValues) {
    reg.delete_tree(*acme);
    reg.mark_saved();
    EXPECT_EQ(reg.find(acme, "Data"), nullptr);
    EXPECT_EQ(reg.find(acme, ""), nullptr);
    EXPECT_EQ(reg.create(acme, "New"), nullptr);
    reg.set_value(*data, "w", kRegSz, std::string("y\0", 2));
    EXPECT_FALSE(reg.delete_value(*data, "v"));
    reg.delete_tree(*data);
    EXPECT_FALSE(reg.changed());
    EXPECT_EQ(reg.value(*data, "w"), nullptr);
}

TEST_F(DeleteTreeTest, ANewKeyOfTheSameNameIsAnotherKeyAtTheEnd) {
    reg.delete_tree(*acme);
    RegKey* again = reg.create(hklm, "Software\\ACME\\Data");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, data);
    EXPECT_TRUE(again->alive);
    EXPECT_FALSE(data->alive);
    EXPECT_TRUE(again->values.empty());
    EXPECT_EQ(paths_in_order(reg), (std::vector<std::string>{
                                       "HKEY_LOCAL_MACHINE\\Software",
                                       "HKEY_LOCAL_MACHINE\\Software\\Other",
                                       "HKEY_LOCAL_MACHINE\\Software\\ACME",
                                       "HKEY_LOCAL_MACHINE\\Software\\ACME\\Data",
                                   }));
}

TEST_F(DeleteTreeTest, ALeafAndARootAlone) {
    reg.delete_tree(*reg.find(tools, "bin"));
    EXPECT_TRUE(tools->alive);
    EXPECT_TRUE(tools->children.empty());
    EXPECT_EQ(paths_in_order(reg), (std::vector<std::string>{
                                       "HKEY_LOCAL_MACHINE\\Software",
                                       "HKEY_LOCAL_MACHINE\\Software\\AcMe",
                                       "HKEY_LOCAL_MACHINE\\Software\\AcMe\\Tools",
                                       "HKEY_LOCAL_MACHINE\\Software\\AcMe\\Data",
                                       "HKEY_LOCAL_MACHINE\\Software\\Other",
                                   }));

    reg.mark_saved();
    reg.delete_tree(*hklm);
    EXPECT_TRUE(hklm->alive);
    EXPECT_EQ(reg.find(hklm, "Software\\Acme"), acme);
    EXPECT_FALSE(reg.changed());
}

TEST(RegistryChanged, TurnsTrueOnChangesOnly) {
    struct Case {
        const char* name;
        void (*act)(Registry&, RegKey&);
        bool changed;
    };
    const Case cases[] = {
        {"create a new key", [](Registry& r, RegKey& k) { r.create(&k, "New"); }, true},
        {"create an existing key", [](Registry& r, RegKey& k) { r.create(&k, "SUB"); }, false},
        {"find", [](Registry& r, RegKey& k) { r.find(&k, "Sub"); }, false},
        {"read a value", [](Registry& r, RegKey& k) { r.value(k, "v"); }, false},
        {"set a new value", [](Registry& r, RegKey& k) { r.set_value(k, "w", kRegBinary, ""); }, true},
        {"set an existing value", [](Registry& r, RegKey& k) { r.set_value(k, "V", kRegBinary, "1"); }, true},
        {"delete a value", [](Registry& r, RegKey& k) { r.delete_value(k, "v"); }, true},
        {"delete a missing value", [](Registry& r, RegKey& k) { r.delete_value(k, "w"); }, false},
        {"delete a tree", [](Registry& r, RegKey& k) { r.delete_tree(*r.find(&k, "Sub")); }, true},
        {"list keys", [](Registry& r, RegKey&) { r.keys_in_order(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Registry reg;
        RegKey& key = *reg.create(reg.root(Root::CurrentUser), "Key");
        reg.create(&key, "Sub");
        reg.set_value(key, "v", kRegBinary, "0");
        EXPECT_TRUE(reg.changed());
        reg.mark_saved();
        c.act(reg, key);
        EXPECT_EQ(reg.changed(), c.changed);
    }
}

TEST(RegistryMove, KeysOutliveTheMove) {
    Registry first;
    RegKey* key = first.create(first.root(Root::Users), ".Default\\Software");
    first.line_end = "\n";
    Registry second = std::move(first);
    EXPECT_EQ(second.find(second.root(Root::Users), ".DEFAULT\\software"), key);
    EXPECT_EQ(second.line_end, "\n");
    Registry third;
    third = std::move(second);
    EXPECT_EQ(third.find(third.root(Root::Users), ".Default"), key->parent);
    EXPECT_EQ(key->path(), "HKEY_USERS\\.Default\\Software");
}

}  // namespace
}  // namespace sim
