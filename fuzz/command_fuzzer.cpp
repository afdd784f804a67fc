// Any bytes as the image given to the command, run in a scratch directory.
// Whatever the bytes, the command exits 0 or 1, leaves the image as it was,
// and writes nothing but its own output files.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cutter/cutter.h"
#include "cutter/plans.h"

namespace {

const char* const kAllowed[] = {"image.d88", "DRIVER", "VOICE",  "MUS100", "MUS101", "MUS102",
                                "MUS103",    "MUS104", "VOICE2", "MUS200", ".",      ".."};

void require(bool condition) {
    if (!condition) std::abort();
}

char scratch[] = "/tmp/d88cut-command-fuzz-XXXXXX";

void removeScratchDirectory() {
    for (const char* name : kAllowed) std::remove(name);
    if (chdir("/") == 0) rmdir(scratch);
}

// The first run moves into a fresh scratch directory for good, removed when
// the process ends; the command's standard output is thrown away.
void enterScratchDirectory() {
    static bool entered = false;
    if (entered) return;
    require(mkdtemp(scratch) != nullptr && chdir(scratch) == 0);
    std::atexit(removeScratchDirectory);
    require(std::freopen("/dev/null", "w", stdout) != nullptr);
    entered = true;
}

std::vector<std::uint8_t> readImage() {
    std::vector<std::uint8_t> bytes;
    std::FILE* f = std::fopen("image.d88", "rb");
    require(f != nullptr);
    std::uint8_t chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(f);
    return bytes;
}

void requireOnlyOwnFiles() {
    DIR* dir = opendir(".");
    require(dir != nullptr);
    while (const dirent* entry = readdir(dir)) {
        bool known = false;
        for (const char* name : kAllowed) known = known || std::strcmp(entry->d_name, name) == 0;
        require(known);
    }
    closedir(dir);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    enterScratchDirectory();
    std::FILE* f = std::fopen("image.d88", "wb");
    require(f != nullptr);
    require(size == 0 || std::fwrite(data, 1, size, f) == size);
    require(std::fclose(f) == 0);

    char program[] = "d88cut";
    char image[] = "image.d88";
    char* argv[] = {program, image, nullptr};
    const int status = cutter::runCommand(2, argv);
    // The command leaves the image open for the process's end; a fuzzing
    // process runs it many times.
    cutter::diskImage.close();

    require(status == 0);  // the image opens and every output file is writable here
    const std::vector<std::uint8_t> after = readImage();
    require(after.size() == size && (size == 0 || std::memcmp(after.data(), data, size) == 0));
    requireOnlyOwnFiles();
    return 0;
}
