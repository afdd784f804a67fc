// Writes a small D88 image for trying the tool out: a Program Disk, a disk
// the tool does not know, and a Data Disk. Every sector holds made-up text
// that names its own place on the disk, so the cut files are easy to check.
//
//   make_sample_image OUTPUT
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "tests/support/d88_builder.h"

namespace {

// "t04 r01 " repeated: track index and sector number of the sector.
void labelSectors(fixture::Disk& disk) {
    for (auto& [index, track] : disk.tracks) {
        for (fixture::Sector& sector : track.sectors) {
            char label[16];
            std::snprintf(label, sizeof label, "t%02d r%02d ", index, sector.r);
            const std::size_t length = std::strlen(label);
            for (std::size_t i = 0; i < sector.data.size(); ++i) {
                sector.data[i] = static_cast<std::uint8_t>(label[i % length]);
            }
        }
    }
}

fixture::Disk sampleDisk(const char* name, const std::uint8_t* signature, std::vector<int> tracks) {
    fixture::Disk disk = fixture::standardDisk(signature, tracks);
    disk.name = name;
    labelSectors(disk);
    std::memcpy(disk.tracks[0].sectors[0].data.data(), signature, 8);
    return disk;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argc > 0 ? argv[0] : "make_sample_image");
        return 1;
    }
    const std::uint8_t otherSignature[8] = {'S', 'A', 'M', 'P', 'L', 'E', 0, 0};
    try {
        fixture::writeFile(argv[1], fixture::buildImage({
            sampleDisk("SAMPLE PROGRAM", fixture::kProgramSignature, {1, 2, 3, 4}),
            sampleDisk("SAMPLE OTHER", otherSignature, {1}),
            sampleDisk("SAMPLE DATA", fixture::kDataSignature, {29}),
        }));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sample_image: %s\n", e.what());
        return 1;
    }
    return 0;
}
