// Any bytes as the image given to the command, run in a scratch directory.
// Whatever the bytes, the command exits 0 or 1, leaves the image as it was,
// and writes nothing but its own output files.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cutter/cutter.h"
#include "cutter/plans.h"
#include "tests/support/d88_builder.h"

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
    const fixture::Bytes image(data, data + size);
    fixture::writeFile("image.d88", image);

    char program[] = "d88cut";
    char imageName[] = "image.d88";
    char* argv[] = {program, imageName, nullptr};
    const int status = cutter::runCommand(2, argv);
    // The command leaves the image open for the process's end; a fuzzing
    // process runs it many times.
    cutter::diskImage.close();

    require(status == 0);  // the image opens and every output file is writable here
    require(fixture::readFile("image.d88") == image);
    requireOnlyOwnFiles();
    return 0;
}
