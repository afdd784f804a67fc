#include "cutter/plans.h"

#include <cstdio>
#include <cstring>

#include "cutter/console.h"
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

host::FileIdentity imageIdentity;

bool written(ExtractResult result) { return result != ExtractResult::kFailed; }

// Writes `size` bytes as the file `name`. Returns null on success, else why
// the file was not written: the name is the image itself (the image would
// be lost), or the system's reason.
const char* writeFile(const char* name, const std::uint8_t* bytes, std::int32_t size) {
    if (host::sameFile(host::identifyEntry(name), imageIdentity)) {
        return kIsTheImageReason;
    }
    return host::replaceFile(name, bytes, static_cast<std::size_t>(size));
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

void setImageIdentity(const host::FileIdentity& identity) { imageIdentity = identity; }

ExtractResult extractFile(const char* name, std::int32_t track, std::int32_t c, std::int32_t h,
                          std::int32_t r, std::int32_t n, std::int32_t skip, std::int32_t size) {
    // A run that stops early leaves the rest of its range as zeros, never as
    // what an earlier read of another file or disk left in the buffer. A
    // short last sector's bytes stay: they are this file's own.
    const std::int32_t wanted = skip + size;
    std::memset(sectorBuffer, 0, static_cast<std::size_t>(wanted));
    const std::int32_t got = diskImage.readSectors(track, c, h, r, n, sectorBuffer, wanted);
    // A read that failed, now or before, is no damage of the disk: the file
    // is not written at all, so an earlier good copy stays as it was.
    if (diskImage.readError() != 0) {
        return ExtractResult::kNotRead;
    }
    if (got == 0) {
        printLine(Stream::kErr, kSkippedFormat, name);
        return ExtractResult::kSkipped;
    }
    printLine(Stream::kOut, kCuttingFormat, name);
    if (got < wanted) {
        const std::int32_t read = got > skip ? got - skip : 0;
        printLine(Stream::kErr, kIncompleteFormat, name, static_cast<long>(read), static_cast<long>(size));
    }
    if (const char* reason = writeFile(name, sectorBuffer + skip, size)) {
        printLine(Stream::kErr, kWriteFailedFormat, name, reason);
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
