#include "tests/support/streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace fixture {

namespace {

struct Cookie {
    Bytes bytes;
    std::int64_t failFrom;
    std::int64_t position = 0;
};

ssize_t cookieRead(void* c, char* out, std::size_t size) {
    Cookie* cookie = static_cast<Cookie*>(c);
    const std::int64_t left = static_cast<std::int64_t>(cookie->bytes.size()) - cookie->position;
    const std::size_t take = left <= 0 ? 0 : std::min(size, static_cast<std::size_t>(left));
    if (take > 0 && cookie->position + static_cast<std::int64_t>(take) > cookie->failFrom) {
        errno = EIO;
        return -1;
    }
    if (take > 0) std::memcpy(out, cookie->bytes.data() + cookie->position, take);
    cookie->position += static_cast<std::int64_t>(take);
    return static_cast<ssize_t>(take);
}

int cookieSeek(void* c, off64_t* offset, int whence) {
    Cookie* cookie = static_cast<Cookie*>(c);
    const std::int64_t base = whence == SEEK_SET ? 0
                              : whence == SEEK_CUR ? cookie->position
                                                   : static_cast<std::int64_t>(cookie->bytes.size());
    if (base + *offset < 0) {
        errno = EINVAL;
        return -1;
    }
    cookie->position = base + *offset;
    *offset = cookie->position;
    return 0;
}

int cookieClose(void* c) {
    delete static_cast<Cookie*>(c);
    return 0;
}

}  // namespace

std::FILE* failingStream(const Bytes& bytes, std::int64_t failFrom) {
    cookie_io_functions_t functions = {cookieRead, nullptr, cookieSeek, cookieClose};
    return fopencookie(new Cookie{bytes, failFrom}, "rb", functions);
}

void writeSparseFile(const std::string& path, std::int64_t size,
                     const std::map<std::int64_t, Bytes>& pieces) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path);
    bool ok = ftruncate(fd, size) == 0;
    for (const auto& [offset, bytes] : pieces) {
        ok = ok && pwrite(fd, bytes.data(), bytes.size(), offset) == static_cast<ssize_t>(bytes.size());
    }
    if (close(fd) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace fixture
