// A person at the machine while a program waits for messages: the input's commands become
// hardware input, close requests, quit requests and changes of the mixers' controls.
//
//   click <x> <y>   a press of the left button at a screen point (down, then up)
//   key <name>      a key pressed and let go: enter, escape, tab, space, f1
//   close           a close request (WM_SYSCOMMAND SC_CLOSE) to the active window
//   quit            a quit request to the program's thread (WM_QUIT)
//   set ...         a person moves a mixer's control (see Mixers::apply_set_command)
//
// A command that cannot be carried out (a point off the screen, an unknown key, a box's
// answer while no box is open) stops the machine, naming the input's line.
#pragma once

namespace sim {

class Machine;
struct Command;

// The commands typed ahead, once, when the program first looks at its queue.
void deliver_typed_ahead(Machine& m);
// The program waits: the next command is taken; when the input has ended, the machine
// shuts down (see end_of_input).
void wait_for_input(Machine& m);
void take_command(Machine& m, const Command& command);
// Each top-level window is told of the session's end (WM_QUERYENDSESSION, then
// WM_ENDSESSION), then the machine saves and the process ends with status 0.
[[noreturn]] void end_of_input(Machine& m);

}  // namespace sim
