// The registry file's loader and saver: whatever loads must save, load again and give the
// same tree, and the second save must be byte for byte the first. The same holds when
// every value is formatted anew, as after a program changed it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "error.h"
#include "reg_file.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "reg_file_fuzz: %s\n", what);
    std::abort();
}

// The same sections in the same order, each with the same values: names, types and data.
bool same_tree(const sim::Registry& a, const sim::Registry& b) {
    const auto sections_a = a.sections_in_order();
    const auto sections_b = b.sections_in_order();
    if (sections_a.size() != sections_b.size())
        return false;
    for (std::size_t i = 0; i < sections_a.size(); i++) {
        const sim::RegKey& ka = *sections_a[i];
        const sim::RegKey& kb = *sections_b[i];
        if (ka.values.size() != kb.values.size() || ka.path() != kb.path())
            return false;
        for (std::size_t v = 0; v < ka.values.size(); v++) {
            const sim::RegValue& va = ka.values[v];
            const sim::RegValue& vb = kb.values[v];
            if (va.name != vb.name || va.type != vb.type || va.data != vb.data)
                return false;
        }
    }
    return true;
}

void round_trip(const sim::Registry& loaded) {
    const std::string first = save_reg_file(loaded);
    sim::Registry again;
    try {
        again = sim::load_reg_file(first, "saved.reg");
    } catch (const sim::InputError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        fail("a saved registry does not load");
    }
    if (!same_tree(again, loaded))
        fail("the saved registry loads to another tree");
    if (save_reg_file(again) != first)
        fail("the second save differs from the first");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sim::Registry registry;
    try {
        registry = sim::load_reg_file(text, "registry.reg");
    } catch (const sim::InputError& error) {
        if (error.file() != "registry.reg")
            fail("an error names another file");
        return 0;
    }
    round_trip(registry);

    // Every value set anew loses the text it was read from and is formatted by the saver.
    for (const sim::RegKey* key : registry.sections_in_order()) {
        auto* changed = const_cast<sim::RegKey*>(key);
        for (std::size_t i = 0; i < key->values.size(); i++) {
            sim::RegValue v = key->values[i];
            registry.set_value(*changed, v.name, v.type, v.data);
        }
    }
    round_trip(registry);
    return 0;
}
