// Read-only access to the image file by absolute position.
//
// The reader walks sector records with many small reads at nearby positions;
// every position it asks for is checked here, so no read ever lands anywhere
// but where the caller computed, and a position the host cannot seek to is
// refused rather than wrapped.
#ifndef D88_IMAGE_FILE_H
#define D88_IMAGE_FILE_H

#include <cstdint>
#include <cstdio>

namespace d88 {

// Highest file position the reader addresses; offsets are held as signed
// 32-bit values, and std::fseek takes a long, which is 32 bits on Windows.
constexpr std::int64_t kMaxFilePosition = 0x7FFFFFFF;

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
    std::FILE* file_ = nullptr;
};

}  // namespace d88

#endif
