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
//
// The end of the file and a failed read are told apart: a read that fails
// (a bad sector of the medium, a network share gone away) is remembered, and
// from then on every read delivers nothing, so a failing medium is not read
// again and again and the caller can say why the image could not be read.
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

    // Opens `path` for binary reading.
    bool open(const char* path);
    // Takes over `file`, a stream already open for binary reading; it is
    // closed with this object. False for a null stream.
    bool openStream(std::FILE* file);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Copies up to `length` bytes starting at file position `position` into
    // `out` and returns how many arrived: fewer at the end of the file, 0 for
    // a position outside 0..kMaxFilePosition, and 0 once a read has failed.
    std::int32_t readAt(std::int64_t position, std::uint8_t* out, std::int32_t length);

    // The system's error number of the first read or seek that failed since
    // the file was opened; 0 while none has.
    int error() const { return error_; }

private:
    // Reads straight from the file, bypassing the window.
    std::int32_t readFile(std::int64_t position, std::uint8_t* out, std::int32_t length);
    std::int32_t fail(int error);

    std::FILE* file_ = nullptr;
    int error_ = 0;
    // Where the file ends, as found at open; past kMaxFilePosition when
    // that is where it ends or it could not be told.
    std::int64_t end_ = kMaxFilePosition + 1;
    std::int64_t windowStart_ = 0;
    std::int32_t windowLength_ = 0;  // bytes of the file held, from windowStart_
    std::uint8_t window_[kWindowSize];
};

}  // namespace d88

#endif
