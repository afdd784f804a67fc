// Read-only access to the image file by absolute position, through a read
// window.
//
// Finding a sector walks its track's chain of 16-byte record headers, one
// small read at a time. A stdio seek throws the stream's buffer away, so a
// plain seek-and-read per record costs a system call each. Instead the last
// kWindowSize bytes read from the file are kept here: a read that falls
// inside them is served from memory, and any other read refills the window
// from the requested position with a single read of the file. The window
// holds file bytes only; what they mean is the reader's business.
//
// Every position asked for is checked here, so no read lands anywhere but
// where the caller computed, and a position the host cannot seek to is
// refused rather than wrapped.
#ifndef D88_IMAGE_FILE_H
#define D88_IMAGE_FILE_H

#include <cstdint>
#include <cstdio>

namespace d88 {

// Highest file position the reader addresses; offsets are held as signed
// 32-bit values, and std::fseek takes a long, which is 32 bits on Windows.
constexpr std::int64_t kMaxFilePosition = 0x7FFFFFFF;

constexpr std::int32_t kWindowSize = 64 * 1024;

class ImageFile {
public:
    ImageFile() = default;
    ~ImageFile();
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool open(const char* path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Copies up to `length` bytes starting at file position `position` into
    // `out` and returns how many arrived: fewer at the end of the file, 0 for
    // a position outside 0..kMaxFilePosition or a seek the host refuses.
    std::int32_t readAt(std::int64_t position, std::uint8_t* out, std::int32_t length);

private:
    // Reads straight from the file, bypassing the window.
    std::int32_t readFile(std::int64_t position, std::uint8_t* out, std::int32_t length);

    std::FILE* file_ = nullptr;
    std::int64_t windowStart_ = 0;
    std::int32_t windowLength_ = 0;  // bytes of the file held, from windowStart_
    std::uint8_t window_[kWindowSize];
};

}  // namespace d88

#endif
