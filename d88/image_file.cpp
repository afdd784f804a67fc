#include "d88/image_file.h"

namespace d88 {

ImageFile::~ImageFile() { close(); }

bool ImageFile::open(const char* path) {
    close();
    file_ = std::fopen(path, "rb");
    return file_ != nullptr;
}

void ImageFile::close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

std::int32_t ImageFile::readAt(std::int64_t position, std::uint8_t* out, std::int32_t length) {
    if (file_ == nullptr || length <= 0 || position < 0 || position > kMaxFilePosition) {
        return 0;
    }
    if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) {
        return 0;
    }
    const std::size_t got = std::fread(out, 1, static_cast<std::size_t>(length), file_);
    return static_cast<std::int32_t>(got);
}

}  // namespace d88
