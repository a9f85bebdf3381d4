// Little-endian reading of the binary records that programs hand to the machine (resource
// files, dialog templates), with every read checked against the end of the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sim {

// A read past the end, or a record that breaks its format; `offset` is where.
class FormatError : public std::runtime_error {
public:
    FormatError(std::size_t offset, const std::string& what)
        : std::runtime_error("byte " + std::to_string(offset) + ": " + what), offset_(offset) {}
    std::size_t offset() const { return offset_; }

private:
    std::size_t offset_;
};

class ByteReader {
public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    std::size_t offset() const { return offset_; }
    std::size_t left() const { return size_ - offset_; }
    const std::uint8_t* here() const { return bytes_ + offset_; }

    std::uint8_t u8() {
        need(1, "a byte");
        return bytes_[offset_++];
    }
    std::uint16_t u16() {
        need(2, "a WORD");
        std::uint16_t v = static_cast<std::uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
        offset_ += 2;
        return v;
    }
    std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() {
        std::uint32_t low = u16();
        std::uint32_t high = u16();
        return low | (high << 16);
    }
    void skip(std::size_t count, const char* what) {
        need(count, what);
        offset_ += count;
    }
    // Moves to the next multiple of `unit` from the start (2 or 4), within the bytes.
    void align(std::size_t unit) {
        std::size_t pad = (unit - offset_ % unit) % unit;
        if (pad > left())
            pad = left();
        offset_ += pad;
    }

private:
    void need(std::size_t count, const char* what) {
        if (count > left())
            throw FormatError(offset_, std::string("the data ends where ") + what + " should be");
    }

    const std::uint8_t* bytes_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

}  // namespace sim
