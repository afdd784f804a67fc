// What the tool knows of the two disks: their boot-sector signatures and the
// sector runs it cuts from each into files of the current directory.
#ifndef CUTTER_PLANS_H
#define CUTTER_PLANS_H

#include <cstdint>

#include "cutter/host.h"
#include "d88/d88_image.h"

namespace cutter {

constexpr std::int32_t kSignatureSize = 8;
constexpr std::uint8_t programDiskSignature[kSignatureSize] = {0xF3, 0x97, 0xD3, 0x51,
                                                               0x31, 0x00, 0xC0, 0x11};
constexpr std::uint8_t dataDiskSignature[kSignatureSize] = {0xAF, 0xD3, 0xE6, 0x3E,
                                                            0x3B, 0xD3, 0x31, 0x31};

// The one image and the one sector buffer of the process. Every read of the
// command lands at the start of the buffer.
constexpr std::int32_t kSectorBufferSize = 0x50000;
extern D88Image diskImage;
extern std::uint8_t sectorBuffer[kSectorBufferSize];

// Remembers which file the image is, so that no output file replaces it.
void setImageIdentity(const host::FileIdentity& identity);

// A row of a MUS table: where one file's sectors start and its length. The
// sector ID follows from the track index: C = track / 2, H = track % 2, N = 1.
// A table ends at the row whose sector number is 0.
struct ExtractEntry {
    std::int32_t track;
    std::int32_t sector;
    std::int32_t bytes;
};

enum class ExtractResult {
    kSkipped,  // the first sector could not be read: no file
    kWritten,
    kFailed,   // the file could not be written
    kNotRead,  // reading the image failed: no file, and nothing said here
};

// Reads the run of sectors that starts at (track, c, h, r, n) into the
// sector buffer and writes `size` bytes of it, after the first `skip`, to
// the file `name` in the current directory, replacing whatever had that
// name in one step. Bytes the run could not read are written as zeros. A
// name that is the image itself is not written. Reports a skipped or
// incomplete file and a failed write on standard error. After a failed read
// of the image it does nothing: the entry reports that.
ExtractResult extractFile(const char* name, std::int32_t track, std::int32_t c, std::int32_t h,
                          std::int32_t r, std::int32_t n, std::int32_t skip, std::int32_t size);

// The Program Disk's and the Data Disk's files, cut from the selected disk
// of diskImage with its sector range set. Each returns false when an output
// file could not be written; the rest of the plan is carried out all the same.
bool runProgramDiskPlan();
bool runDataDiskPlan();

}  // namespace cutter

#endif
