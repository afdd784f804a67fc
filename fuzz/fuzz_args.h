// Call arguments for the fuzz harnesses, taken from the end of the input so
// that the input's start stays a plausible image: mostly small values (the
// sector IDs, track indices and size codes the reader sees in practice, and a
// few below zero), now and then any 32-bit value at all.
#ifndef FUZZ_FUZZ_ARGS_H
#define FUZZ_FUZZ_ARGS_H

#include <cstddef>
#include <cstdint>

namespace fuzz {

class Args {
public:
    Args(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return size_ == 0 ? 0 : data_[--size_]; }

    std::int32_t value() {
        const std::uint8_t b = byte();
        if (b < 0xF0) {
            return static_cast<std::int32_t>(b) - 8;
        }
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | byte();
        return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v) : -static_cast<std::int32_t>(~v) - 1;
    }

    // A byte count for a buffer of `capacity` bytes: 0..capacity, or below 0.
    std::int32_t length(std::int32_t capacity) {
        const std::uint32_t v = (static_cast<std::uint32_t>(byte()) << 8) | byte();
        if (v >= 0xFF00) {
            return -static_cast<std::int32_t>(v & 0xFF) - 1;
        }
        return static_cast<std::int32_t>(v % static_cast<std::uint32_t>(capacity + 1));
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzz

#endif
