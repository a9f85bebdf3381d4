// The registry file's speed on the large machine (40000 keys, about 5 MB): loading and
// saving in MB per second, set against reading the same file with cat in the same run.
//   reg-file-bench [KEYS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "large_machine.h"
#include "reg_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// The fastest of `runs` runs of `work`, in seconds: the figure least disturbed by the rest
// of the machine.
template <typename Work>
double fastest(int runs, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; i++) {
        auto start = Clock::now();
        work();
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds < best)
            best = seconds;
    }
    return best;
}

void report(const char* what, double seconds, std::size_t bytes, double cat_seconds) {
    double mb = static_cast<double>(bytes) / 1e6;
    std::printf("%-44s %9.1f ms %9.1f MB/s %8.1fx cat\n", what, seconds * 1e3, mb / seconds,
                seconds / cat_seconds);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t keys = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 40000;
    const int runs = 7;
    const large_machine::Machine large = large_machine::make(keys);
    std::string pattern = (std::filesystem::temp_directory_path() / "reg-file-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path folder = pattern;
    const std::filesystem::path file = folder / "registry.reg";
    sim::write_file_atomically(file, large.registry);
    const std::size_t size = large.registry.size();
    std::printf("registry.reg: %zu keys, %zu bytes\n\n", large.keys, size);

    const std::string cat = "cat '" + file.string() + "' > /dev/null";
    double cat_seconds = fastest(runs, [&] {
        if (std::system(cat.c_str()) != 0)
            std::exit(1);
    });
    report("cat (process start and read)", cat_seconds, size, cat_seconds);

    std::string text;
    report("read the file", fastest(runs, [&] { text = *sim::read_whole_file(file); }), size, cat_seconds);
    sim::Registry registry;
    report("load (REGEDIT4 text to registry)",
           fastest(runs, [&] { registry = sim::load_reg_file(text, "registry.reg"); }), size, cat_seconds);
    report("read and load",
           fastest(runs, [&] { registry = sim::load_reg_file(*sim::read_whole_file(file), "registry.reg"); }),
           size, cat_seconds);

    std::string saved;
    report("save, nothing changed (registry to text)",
           fastest(runs, [&] { saved = sim::save_reg_file(registry); }), saved.size() ? saved.size() : size,
           cat_seconds);
    // Every value formatted anew, as after a program set them all.
    for (const sim::RegKey* key : registry.sections_in_order()) {
        auto* changed = const_cast<sim::RegKey*>(key);
        for (std::size_t i = 0; i < key->values.size(); i++) {
            sim::RegValue v = key->values[i];
            registry.set_value(*changed, v.name, v.type, v.data);
        }
    }
    report("save, every value formatted anew", fastest(runs, [&] { saved = sim::save_reg_file(registry); }),
           saved.size(), cat_seconds);
    report("write atomically (temporary, flush, rename)",
           fastest(runs, [&] { sim::write_file_atomically(file, saved); }), saved.size(), cat_seconds);

    std::filesystem::remove_all(folder);
    return 0;
}
