#include "cutter/cutter.h"

#include <cstring>

#include "cutter/console.h"
#include "cutter/host.h"
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

bool isHelpOption(const char* arg) {
    return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0 ||
           (host::kHelpSwitch != nullptr && std::strcmp(arg, host::kHelpSwitch) == 0);
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
        print(Stream::kOut, kProgramDiskRecognisedText);
        return runProgramDiskPlan();
    }
    if (startsWith(sectorBuffer, dataDiskSignature)) {
        print(Stream::kOut, kDataDiskRecognisedText);
        return runDataDiskPlan();
    }
    return true;
}

// Cuts every recognised disk in file order. A failed read of the image ends
// the walk: what follows could not be trusted to be the image's.
bool cutImage(const char* path) {
    bool allWritten = true;
    const std::int32_t count = diskImage.diskCount();
    for (std::int32_t i = 0; i < count && diskImage.readError() == 0; ++i) {
        // A failed selection leaves the disk size at 0, so the boot sector
        // read delivers nothing and the disk passes unrecognised.
        diskImage.selectDisk(i);
        allWritten &= cutSelectedDisk();
    }
    if (const int error = diskImage.readError()) {
        printLine(Stream::kErr, kReadFailedFormat, path, std::strerror(error));
        return false;
    }
    return allWritten;
}

}  // namespace

int runCommand(int argc, char* argv[]) {
    host::beginRun();
    beginConsole();
    if (argc != 2) {
        printLine(Stream::kErr, kUsageFormat, invocationName(argc, argv));
        return 1;
    }
    // Only the whole argument asks: an image named like an option is
    // reached as ./--help.
    if (isHelpOption(argv[1])) {
        printLine(Stream::kOut, kUsageFormat, invocationName(argc, argv));
        print(Stream::kOut, host::ConsoleText{kHelpText, nullptr});
        return finishConsole() ? 0 : 1;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        printLine(Stream::kOut, kVersionFormat, D88CUT_VERSION);
        return finishConsole() ? 0 : 1;
    }
    host::FileIdentity identity;
    if (!diskImage.openStream(host::openImage(argv[1], &identity))) {
        print(Stream::kErr, kOpenFailedText);
        return 1;
    }
    setImageIdentity(identity);
    const bool cut = cutImage(argv[1]);
    const bool printed = finishConsole();
    return cut && printed ? 0 : 1;
}

}  // namespace cutter
