// Writes the fuzzers' seed inputs, built with the test suite's image builder:
// the two known disks whole and damaged in the ways the tests know, so that
// fuzzing starts from images that reach deep into the reader and the plans.
//
//   make_fuzz_seeds DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/d88_builder.h"

namespace {

using fixture::Bytes;
using fixture::Disk;

// Only the first sectors of each track, so that seeds stay small.
Disk trimmed(Disk disk, std::size_t sectors) {
    for (auto& entry : disk.tracks) {
        if (entry.first > 0 && entry.second.sectors.size() > sectors) entry.second.sectors.resize(sectors);
    }
    return disk;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 1;
    }
    const std::string dir = argv[1];
    Disk noTrackOne = fixture::programDisk();
    noTrackOne.tracks.erase(1);
    Disk shortSector = fixture::programDisk();
    shortSector.tracks[3].sectors[2].data.resize(128);
    Disk topBit = trimmed(fixture::programDisk(), 2);
    topBit.trackOffsetFields[1] = 0xFFFFFF00u;
    Disk sizeZero = trimmed(fixture::dataDisk(), 2);
    sizeZero.sizeField = 0;
    Disk counts = trimmed(fixture::programDisk(), 4);
    for (auto& entry : counts.tracks) {
        for (std::size_t i = 0; i < entry.second.sectors.size(); ++i) {
            entry.second.sectors[i].count = static_cast<std::uint16_t>(i);
        }
    }
    Bytes truncated = fixture::buildImage({fixture::programDisk()});
    truncated.resize(truncated.size() - 1000);

    const std::vector<std::pair<const char*, Bytes>> seeds = {
        {"program", fixture::buildImage({fixture::programDisk()})},
        {"data", fixture::buildImage({fixture::dataDisk()})},
        {"data-then-program", fixture::buildImage({trimmed(fixture::dataDisk(), 4), trimmed(fixture::programDisk(), 4)})},
        {"no-track-1", fixture::buildImage({trimmed(noTrackOne, 8)})},
        {"short-sector", fixture::buildImage({shortSector})},
        {"top-bit-offset", fixture::buildImage({topBit})},
        {"size-zero", fixture::buildImage({sizeZero})},
        {"counts", fixture::buildImage({counts})},
        {"truncated", truncated},
    };
    try {
        std::filesystem::create_directories(dir);
        for (const auto& [name, bytes] : seeds) fixture::writeFile(dir + "/" + name, bytes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
