// make-large-machine FOLDER [KEYS]: writes a large, realistic machine folder for the scale
// tests and the benchmarks (40000 registry keys unless KEYS says otherwise).
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "large_machine.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: make-large-machine FOLDER [KEYS]\n");
        return 2;
    }
    std::size_t keys = 40000;
    if (argc == 3) {
        char* end = nullptr;
        unsigned long long n = std::strtoull(argv[2], &end, 10);
        if (!end || *end != '\0' || n == 0) {
            std::fprintf(stderr, "make-large-machine: KEYS must be a positive whole number, not '%s'\n",
                         argv[2]);
            return 2;
        }
        keys = static_cast<std::size_t>(n);
    }
    try {
        large_machine::Machine machine = large_machine::make(keys);
        large_machine::write(machine, argv[1]);
        std::printf("%s: %zu keys, %zu bytes of registry, %zu files\n", argv[1], machine.keys,
                    machine.registry.size(), machine.files.size());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make-large-machine: %s\n", error.what());
        return 1;
    }
    return 0;
}
