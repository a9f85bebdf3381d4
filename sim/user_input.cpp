#include "user_input.h"

#include <cstdio>
#include <string>

#include "error.h"
#include "input.h"
#include "machine.h"
#include "messages.h"

namespace sim {

namespace {

struct Key {
    const char* name;
    unsigned key;
    unsigned scan;
};

const Key keys[] = {
    {"enter", VK_RETURN, 0x1C}, {"escape", VK_ESCAPE, 0x01}, {"tab", VK_TAB, 0x0F},
    {"space", VK_SPACE, 0x39},  {"f1", VK_F1, 0x3B},
};

std::string command_text(const Command& c) {
    std::string out = c.name;
    for (const std::string& a : c.args)
        out += " " + a;
    return out;
}

// A command that cannot be carried out: a person at a terminal is told and asked again;
// a script stops the machine.
void refuse(Machine& m, const std::string& why) {
    if (m.input.interactive()) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return;
    }
    m.stop(why);
}

void refuse(Machine& m, const Command& c, const std::string& why) {
    refuse(m, InputError(m.input.name(), c.line, why).what());
}

void push(Machine& m, InputEvent::Kind kind, int x, int y, unsigned key, unsigned scan) {
    InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.key = key;
    e.scan = scan;
    m.queue.input.push_back(e);
}

}  // namespace

void deliver_typed_ahead(Machine& m) {
    if (m.queue.typed_ahead_delivered)
        return;
    m.queue.typed_ahead_delivered = true;
    for (const Command& c : m.input.take_typed_ahead())
        take_command(m, c);
}

void wait_for_input(Machine& m) {
    if (m.on_wait) {
        if (!m.on_wait())
            end_of_input(m);
        return;
    }
    std::optional<Command> command = m.input.next(m.program_name + " waits: click, key, close, quit or set");
    if (!command)
        end_of_input(m);
    take_command(m, *command);
}

void take_command(Machine& m, const Command& c) {
    if (m.trace.on())
        m.trace.event("input: " + command_text(c) + (c.ahead ? " (typed ahead)" : ""));
    if (c.name == "click") {
        int x = std::stoi(c.args[0]);
        int y = std::stoi(c.args[1]);
        if (x < 0 || y < 0 || x >= m.windows.screen_width || y >= m.windows.screen_height) {
            refuse(m, c,
                   "the point " + c.args[0] + "," + c.args[1] + " is off the " +
                       std::to_string(m.windows.screen_width) + " by " +
                       std::to_string(m.windows.screen_height) + " screen");
            return;
        }
        push(m, InputEvent::Kind::ButtonDown, x, y, 0, 0);
        push(m, InputEvent::Kind::ButtonUp, x, y, 0, 0);
    } else if (c.name == "key") {
        for (const Key& k : keys) {
            if (c.args[0] == k.name) {
                push(m, InputEvent::Kind::KeyDown, 0, 0, k.key, k.scan);
                push(m, InputEvent::Kind::KeyUp, 0, 0, k.key, k.scan);
                return;
            }
        }
        refuse(m, c, "there is no key '" + c.args[0] + "': the keys are enter, escape, tab, space and f1");
    } else if (c.name == "close") {
        Window* w = m.windows.find(m.windows.active);
        if (!w) {
            m.trace.event("input: close: no window is active");
            return;
        }
        post(m, w->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (c.name == "quit") {
        m.queue.quit = true;
        m.queue.quit_code = 0;
    } else if (c.name == "set") {
        try {
            m.mixers.apply_set_command(c, m.input.name());
        } catch (const InputError& error) {
            refuse(m, error.what());
        }
    } else {
        refuse(m, c, "'" + c.name + "' answers a message box, but no box is open");
    }
}

void end_of_input(Machine& m) {
    std::vector<std::uintptr_t> windows = m.windows.top_level_in_creation_order();
    for (std::uintptr_t w : windows)
        deliver(m, w, WM_QUERYENDSESSION, 0, 0);
    for (std::uintptr_t w : windows)
        deliver(m, w, WM_ENDSESSION, TRUE, 0);
    m.shut_down("the input ended while " +
                (m.program_name.empty() ? std::string("the program") : m.program_name) + " waited for it");
}

}  // namespace sim
