#include "cutter/plans.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "cutter/file_identity.h"
#include "cutter/messages.h"

namespace cutter {

namespace {

constexpr ExtractEntry programDiskMusTable[] = {
    // track  sector  bytes
    {2, 1, 2048},   // MUS100: track 2, R1 to R8
    {1, 5, 1024},   // MUS101: track 1, R5 to R8
    {1, 9, 1024},   // MUS102: track 1, R9 to R12
    {1, 13, 256},   // MUS103: track 1, R13
    {3, 1, 1792},   // MUS104: track 3, R1 to R7
    {0, 0, 0},
};

constexpr ExtractEntry dataDiskMusTable[] = {
    // track  sector  bytes
    {29, 9, 1024},  // MUS200: track 29, R9 to R12
    {0, 0, 0},
};

FileIdentity imageFile;

// A line on standard error. Standard output is flushed first, so that the
// lines keep their order on a console that shows both streams.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void reportProblem(const char* format, ...) {
    std::fflush(stdout);
    std::va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

bool written(ExtractResult result) { return result != ExtractResult::kFailed; }

// Writes `size` bytes to a new file `name`. Returns nullptr on success, else
// why the file was not written: the name leads to the image (creating it
// would truncate the image while it is read), or the system's reason why it
// could not be created, written in full or closed.
const char* writeFile(const char* name, const std::uint8_t* bytes, std::int32_t size) {
    if (sameFile(identifyFile(name), imageFile)) {
        return kIsTheImageReason;
    }
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) {
        return std::strerror(errno);
    }
    // One write of the whole file; a stdio buffer would only add a copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    const std::size_t length = static_cast<std::size_t>(size);
    int error = std::fwrite(bytes, 1, length, file) == length ? 0 : errno;
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    return error == 0 ? nullptr : std::strerror(error);
}

// One file per table row, named from `pattern` and the row number.
bool runMusTable(const ExtractEntry* table, const char* pattern) {
    bool allWritten = true;
    for (std::int32_t row = 0; table[row].sector != 0; ++row) {
        const ExtractEntry& entry = table[row];
        char name[16];
        std::snprintf(name, sizeof name, pattern, static_cast<int>(row));
        allWritten &= written(extractFile(name, entry.track, entry.track >> 1, entry.track & 1,
                                          entry.sector, 1, 0, entry.bytes));
    }
    return allWritten;
}

}  // namespace

void setImageFile(const char* path) { imageFile = identifyFile(path); }

ExtractResult extractFile(const char* name, std::int32_t track, std::int32_t c, std::int32_t h,
                          std::int32_t r, std::int32_t n, std::int32_t skip, std::int32_t size) {
    // A run that stops early leaves the rest of its range as zeros, never as
    // what an earlier read of another file or disk left in the buffer. A
    // short last sector's bytes stay: they are this file's own.
    const std::int32_t wanted = skip + size;
    std::memset(sectorBuffer, 0, static_cast<std::size_t>(wanted));
    const std::int32_t got = diskImage.readSectors(track, c, h, r, n, sectorBuffer, wanted);
    if (got == 0) {
        reportProblem(kSkippedFormat, name);
        return ExtractResult::kSkipped;
    }
    std::printf(kCuttingFormat, name);
    if (got < wanted) {
        const std::int32_t read = got > skip ? got - skip : 0;
        reportProblem(kIncompleteFormat, name, static_cast<long>(read), static_cast<long>(size));
    }
    if (const char* reason = writeFile(name, sectorBuffer + skip, size)) {
        reportProblem(kWriteFailedFormat, name, reason);
        return ExtractResult::kFailed;
    }
    return ExtractResult::kWritten;
}

bool runProgramDiskPlan() {
    //                                 track  C  H  R  N  skip  bytes
    bool allWritten = written(extractFile("DRIVER", 4, 2, 0, 1, 1, 0, 4096));
    allWritten &= written(extractFile("VOICE",      1, 0, 1, 1, 1, 0, 1024));
    allWritten &= runMusTable(programDiskMusTable, "MUS1%02d");
    return allWritten;
}

bool runDataDiskPlan() {
    //                                 track  C   H  R  N  skip  bytes
    bool allWritten = written(extractFile("VOICE2", 29, 14, 1, 5, 1, 0, 1024));
    allWritten &= runMusTable(dataDiskMusTable, "MUS2%02d");
    return allWritten;
}

}  // namespace cutter
