#include "cutter/cutter.h"

#include <cstdio>
#include <cstring>

#include "cutter/messages.h"
#include "cutter/plans.h"

namespace cutter {

D88Image diskImage;
std::uint8_t sectorBuffer[kSectorBufferSize];

namespace {

// The boot sector: track 0, sector ID C0 H0 R1 N1, at most 256 bytes.
constexpr std::int32_t kBootSectorBytes = 256;

const char* invocationName(int argc, char* argv[]) {
    if (argc > 0 && argv[0] != nullptr) {
        return argv[0];
    }
    return "d88cut";
}

bool startsWith(const std::uint8_t* bytes, const std::uint8_t (&signature)[kSignatureSize]) {
    return std::memcmp(bytes, signature, kSignatureSize) == 0;
}

// Reads the selected disk's boot sector and cuts the disk if its signature is
// known. Returns false when an output file could not be written.
bool cutSelectedDisk() {
    diskImage.setSectorRange(1, 16);
    const std::int32_t got = diskImage.readSector(0, 0, 0, 1, 1, sectorBuffer, kBootSectorBytes);
    if (got < kSignatureSize) {
        return true;
    }
    if (startsWith(sectorBuffer, programDiskSignature)) {
        std::fputs(kProgramDiskRecognisedText, stdout);
        return runProgramDiskPlan();
    }
    if (startsWith(sectorBuffer, dataDiskSignature)) {
        std::fputs(kDataDiskRecognisedText, stdout);
        return runDataDiskPlan();
    }
    return true;
}

}  // namespace

int runCommand(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, kUsageFormat, invocationName(argc, argv));
        return 1;
    }
    if (!diskImage.open(argv[1])) {
        std::fputs(kOpenFailedText, stderr);
        return 1;
    }
    setImageFile(argv[1]);
    bool allWritten = true;
    const std::int32_t count = diskImage.diskCount();
    for (std::int32_t i = 0; i < count; ++i) {
        // A failed selection leaves the disk size at 0, so the boot sector
        // read delivers nothing and the disk passes unrecognised.
        diskImage.selectDisk(i);
        if (!cutSelectedDisk()) {
            allWritten = false;
        }
    }
    return allWritten ? 0 : 1;
}

}  // namespace cutter
