// The input script reader: a script is taken whole or refused with an InputError that
// names the script and a line; every command taken has the place it was read from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "error.h"
#include "input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        sim::Input input = sim::Input::script(text, "input.txt");
        input.take_typed_ahead();
        while (auto command = input.next("")) {
            if (command->line < 1 || command->name.empty() || command->args.size() > 4)
                std::abort();
        }
    } catch (const sim::InputError& error) {
        if (error.file() != "input.txt" || error.line() < 1) {
            std::fprintf(stderr, "input_fuzz: an error without the script or a line\n");
            std::abort();
        }
    }
    return 0;
}
