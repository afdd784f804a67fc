// What the tool knows of the two disks: their boot-sector signatures and the
// sector runs it cuts from each into files of the current directory.
#ifndef CUTTER_PLANS_H
#define CUTTER_PLANS_H

#include <cstdint>

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

// The Program Disk's and the Data Disk's files, cut from the selected disk
// of diskImage with its sector range set. Each returns false when an output
// file could not be written; the rest of the plan is carried out all the same.
bool runProgramDiskPlan();
bool runDataDiskPlan();

}  // namespace cutter

#endif
