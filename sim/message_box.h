// Message boxes: the box on the screen, and its answer from the machine's input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Machine;

struct BoxButton {
    const char* command;  // the input command that presses it: "yes", "ok", ...
    const char* label;    // as the box shows it
    int id;               // the result: IDYES, IDOK, ...
};

// The buttons of a box of this style, left to right.
std::vector<BoxButton> box_buttons(std::uint32_t style);

// "MB_YESNO|MB_ICONSTOP|MB_SYSTEMMODAL": the style by its parts' names.
std::string box_style_text(std::uint32_t style);
// "IDYES", ..., or "0" for a box that could not be shown.
std::string box_result_text(int result);

// Shows the box and waits for its answer: a button's id, or 0 when the input says the box
// cannot be shown. The buttons bear the texts of the box's language where the machine has
// them (0: the user's language). A command that cannot answer this box stops the machine;
// the end of the input shuts it down.
int run_message_box(Machine& m, const std::string& text, const std::string& caption, std::uint32_t style,
                    std::uint16_t language);

}  // namespace sim
