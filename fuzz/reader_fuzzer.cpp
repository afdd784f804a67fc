// Any bytes as an image file: the reader opens it, selects every disk (and
// slots outside the directory), and looks sectors up with any arguments. It
// must neither crash nor hang, and every count it returns must stay within
// what the caller's buffer can hold.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "d88/d88_image.h"
#include "fuzz/fuzz_args.h"
#include "tests/support/d88_builder.h"

namespace {

constexpr std::int32_t kBufferSize = 8192;
constexpr std::int32_t kDisksVisited = 8;
constexpr int kCallsPerDisk = 3;

void removeImage();

// One image file per process, removed when the process ends.
const std::string& imagePath() {
    static const std::string path = "/tmp/d88cut-reader-fuzz-" + std::to_string(getpid()) + ".d88";
    static const bool cleanup = std::atexit(removeImage) == 0;
    (void)cleanup;
    return path;
}

void removeImage() { std::remove(imagePath().c_str()); }

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fixture::writeFile(imagePath(), fixture::Bytes(data, data + size));

    fuzz::Args args(data, size);
    static std::uint8_t buffer[kBufferSize];
    D88Image image;
    require(image.open(imagePath().c_str()));
    const std::int32_t count = image.diskCount();
    require(count >= 0 && count <= kMaxDisks);
    const std::int32_t last = count < kDisksVisited ? count : kDisksVisited;
    for (std::int32_t disk = -1; disk <= last; ++disk) {
        // The file is as it was at open, so exactly the listed slots select.
        require(image.selectDisk(disk) == (disk >= 0 && disk < count));
        image.setSectorRange(args.value(), args.value());
        for (int call = 0; call < kCallsPerDisk; ++call) {
            const std::int32_t track = args.value(), c = args.value(), h = args.value(),
                               r = args.value(), n = args.value();
            std::int32_t length = args.length(kBufferSize);
            std::int32_t got = image.readSector(track, c, h, r, n, buffer, length);
            require(got >= 0 && got <= (length > 0 ? length : 0));
            length = args.length(kBufferSize);
            got = image.readSectorIds(track, buffer, length);
            require(got >= 0 && got <= (length > 0 ? length : 0) && got % 4 == 0);
            length = args.length(kBufferSize);
            got = image.readSectors(track, c, h, r, n, buffer, length);
            require(got >= 0 && got <= (length > 0 ? length : 0));
        }
    }
    image.close();
    return 0;
}
