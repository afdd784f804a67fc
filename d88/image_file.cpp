#include "d88/image_file.h"

#include <cerrno>
#include <cstring>

namespace d88 {

ImageFile::~ImageFile() { close(); }

bool ImageFile::open(const char* path) { return openStream(std::fopen(path, "rb")); }

bool ImageFile::openStream(std::FILE* file) {
    close();
    if (file == nullptr) {
        return false;
    }
    file_ = file;
    // The window does the buffering; a second buffer in stdio would only
    // copy every byte twice.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    // Knowing where the file ends saves asking the system again at every
    // read that reaches the end (the disk scan's last look for a header).
    // When the end cannot be told, reads simply go on until nothing arrives.
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long end = std::ftell(file_);
        if (end >= 0 && end <= kMaxFilePosition) {
            end_ = end;
        }
    }
    return true;
}

void ImageFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    error_ = 0;
    end_ = kMaxFilePosition + 1;
    windowStart_ = 0;
    windowLength_ = 0;
}

std::int32_t ImageFile::fail(int error) {
    // A stream may fail without naming a reason; it is still a failure.
    error_ = error != 0 ? error : EIO;
    windowLength_ = 0;
    return 0;
}

std::int32_t ImageFile::readFile(std::int64_t position, std::uint8_t* out, std::int32_t length) {
    errno = 0;
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) {
        return fail(errno);
    }
    const std::size_t got = std::fread(out, 1, static_cast<std::size_t>(length), file_);
    if (got < static_cast<std::size_t>(length) && std::ferror(file_)) {
        return fail(errno);
    }
    return static_cast<std::int32_t>(got);
}

std::int32_t ImageFile::readAt(std::int64_t position, std::uint8_t* out, std::int32_t length) {
    if (file_ == nullptr || error_ != 0 || length <= 0 || position < 0 || position >= end_) {
        return 0;
    }
    if (length > end_ - position) {
        length = static_cast<std::int32_t>(end_ - position);
    }
    const bool inWindow = position >= windowStart_ &&
                          position + length <= windowStart_ + windowLength_;
    if (!inWindow) {
        if (length > kWindowSize) {
            return readFile(position, out, length);
        }
        // The window ends where the file does, and at kMaxFilePosition + 1
        // at the latest, like every read.
        const std::int64_t room = end_ - position;
        const std::int32_t fill = room < kWindowSize ? static_cast<std::int32_t>(room) : kWindowSize;
        windowStart_ = position;
        windowLength_ = readFile(position, window_, fill);
    }
    const std::int64_t available = windowStart_ + windowLength_ - position;
    const std::int32_t take = available < length ? static_cast<std::int32_t>(available) : length;
    if (take <= 0) {
        return 0;
    }
    std::memcpy(out, window_ + (position - windowStart_), static_cast<std::size_t>(take));
    return take;
}

}  // namespace d88
