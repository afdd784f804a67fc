// Little-endian fields of the image, assembled from their bytes so that the
// host's byte order and alignment never matter.
#ifndef D88_BYTES_H
#define D88_BYTES_H

#include <cstdint>

namespace d88 {

inline std::uint32_t u16le(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
}

inline std::uint32_t u32le(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The value a 32-bit field has when it is held as a signed 32-bit number,
// computed without relying on implementation-defined conversions.
inline std::int32_t asSigned32(std::uint32_t v) {
    if (v <= 0x7FFFFFFFu) {
        return static_cast<std::int32_t>(v);
    }
    return -static_cast<std::int32_t>(~v) - 1;
}

}  // namespace d88

#endif
