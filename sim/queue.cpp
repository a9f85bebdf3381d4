#include "queue.h"

namespace sim {

void MessageQueue::forget_window(std::uintptr_t window) {
    posted.erase_if([window](const PostedMessage& m) { return m.window == window; });
    input.erase_if([window](const InputEvent& e) { return e.placed && e.message.window == window; });
}

}  // namespace sim
