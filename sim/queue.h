// The program's one thread queue: the messages posted to it in order, the quit request of
// PostQuitMessage, and the hardware input (presses of the mouse and keys) that waits to be
// taken. Both lines are ring buffers that grow only when full, so that posting allocates
// nothing once the queue has room.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace sim {

// A first-in first-out line of values that doubles its room when it is full.
template <class T>
class Ring {
public:
    explicit Ring(std::size_t capacity = 64) : slots_(std::make_unique<T[]>(capacity)), capacity_(capacity) {}

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    std::size_t capacity() const { return capacity_; }

    // The i-th value from the front.
    T& operator[](std::size_t i) {
        assert(i < count_);
        return slots_[(head_ + i) % capacity_];
    }
    const T& operator[](std::size_t i) const {
        assert(i < count_);
        return slots_[(head_ + i) % capacity_];
    }
    T& front() { return (*this)[0]; }

    void push_back(const T& value) {
        if (count_ == capacity_)
            grow();
        slots_[(head_ + count_) % capacity_] = value;
        count_++;
    }
    void pop_front() {
        assert(count_ > 0);
        head_ = (head_ + 1) % capacity_;
        count_--;
    }
    // Removes the i-th value; the others keep their order.
    void erase(std::size_t i) {
        assert(i < count_);
        for (std::size_t k = i; k + 1 < count_; k++)
            (*this)[k] = (*this)[k + 1];
        count_--;
    }
    // Removes every value for which `drop` holds; the others keep their order.
    template <class Pred>
    void erase_if(Pred drop) {
        std::size_t kept = 0;
        for (std::size_t k = 0; k < count_; k++) {
            if (!drop((*this)[k])) {
                if (kept != k)
                    (*this)[kept] = (*this)[k];
                kept++;
            }
        }
        count_ = kept;
    }

private:
    void grow() {
        auto bigger = std::make_unique<T[]>(capacity_ * 2);
        for (std::size_t k = 0; k < count_; k++)
            bigger[k] = (*this)[k];
        slots_ = std::move(bigger);
        head_ = 0;
        capacity_ *= 2;
    }

    std::unique_ptr<T[]> slots_;
    std::size_t capacity_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

// A message posted to a window (or, with window 0, to the thread).
struct PostedMessage {
    std::uintptr_t window = 0;
    unsigned message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

// A press of the mouse or of a key, not yet given to a window: the window and the message
// are chosen when the program first looks at the event, and kept from then on, so that a
// look at the queue and the taking of the event agree.
struct InputEvent {
    enum class Kind { ButtonDown, ButtonUp, KeyDown, KeyUp };
    Kind kind = Kind::ButtonDown;
    int x = 0, y = 0;       // screen point of a press of the mouse
    unsigned key = 0;       // virtual key of a key
    unsigned scan = 0;      // its scan code
    bool placed = false;    // the message is chosen
    PostedMessage message;  // window 0: the event reaches no window
};

class MessageQueue {
public:
    Ring<PostedMessage> posted;
    Ring<InputEvent> input;
    bool quit = false;  // PostQuitMessage was called and WM_QUIT not yet taken
    int quit_code = 0;
    bool typed_ahead_delivered = false;

    // A destroyed window's messages and input go with it.
    void forget_window(std::uintptr_t window);
};

}  // namespace sim
