// Builds D88 images in memory for the tests and the sample image: disks made
// of tracks made of sector records, with every field that a damaged or
// hostile image could get wrong open to override.
#ifndef TESTS_SUPPORT_D88_BUILDER_H
#define TESTS_SUPPORT_D88_BUILDER_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fixture {

using Bytes = std::vector<std::uint8_t>;

struct Sector {
    std::uint8_t c = 0, h = 0, r = 1, n = 1;
    Bytes data;
    std::optional<std::uint16_t> count;       // sector count field; default: sectors in the track
    std::optional<std::uint16_t> dataLength;  // data length field; default: data.size()
};

struct Track {
    std::vector<Sector> sectors;
};

struct Disk {
    std::string name;
    std::uint8_t media = 0;
    std::map<int, Track> tracks;                      // by track index
    std::optional<std::uint32_t> sizeField;           // default: the disk's real size
    std::map<int, std::uint32_t> trackOffsetFields;   // replaces the computed table entry
};

// One disk: header, then its tracks in track-index order.
Bytes buildDisk(const Disk& disk);
// Disks back to back.
Bytes buildImage(const std::vector<Disk>& disks);

// Sector contents that differ per track, sector number and byte, so a wrong
// track, sector or order shows: byte 0 is the track, byte 1 the sector number.
Bytes sectorContents(int track, int r, std::size_t length);

// The contents of `count` consecutive 256-byte sectors from (track, firstR).
Bytes sectorRun(int track, int firstR, int count);

// A track of `count` sectors R1..Rcount with ID C = track / 2, H = track % 2,
// N = 1 and `length` bytes of sectorContents each.
Track standardTrack(int track, int count = 16, std::size_t length = 256);

// A disk whose track 0, R1 begins with `signature` and whose listed tracks are
// standard tracks (track 0 included whether listed or not).
Disk standardDisk(const std::uint8_t* signature, const std::vector<int>& tracks);

constexpr std::uint8_t kProgramSignature[8] = {0xF3, 0x97, 0xD3, 0x51, 0x31, 0x00, 0xC0, 0x11};
constexpr std::uint8_t kDataSignature[8] = {0xAF, 0xD3, 0xE6, 0x3E, 0x3B, 0xD3, 0x31, 0x31};

// The complete known disks: the Program Disk's tracks 0 to 4 and the Data
// Disk's tracks 0 and 29.
Disk programDisk();
Disk dataDisk();

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);

}  // namespace fixture

#endif
