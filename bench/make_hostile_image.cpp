// Writes the images the whole-run benchmark uses to stress sector lookup.
//
//   make_hostile_image long-tracks OUTPUT
//     64 Program Disks whose tracks 1 to 4, where all their files lie, each
//     hold a 4,096-record chain with the wanted sectors at its end (18 MB).
//   make_hostile_image shared-chain OUTPUT
//     64 Program Disks whose tracks 1 to 4 all lead into one chain of
//     4,194,304 records (64 MiB) whose count fields never end a walk: each
//     disk's part of the chain starts with a record that counts two records,
//     every other record counts one, and the last record of each part holds
//     the next disk's header and boot sector as its data, so a walk from any
//     disk runs on through every later one to the end of the file.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "bench/hostile.h"

namespace {

using fixture::Bytes;

constexpr int kDisks = 64;
constexpr std::size_t kHeaderSize = 688;
constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kBootTrackSize = kRecordSize + 256;
constexpr std::size_t kPartRecords = 65536;

void put16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
}

Bytes sharedChainImage() {
    const std::size_t chainStart = kHeaderSize + kBootTrackSize;
    const std::size_t diskSize = chainStart + kPartRecords * kRecordSize;
    Bytes image(kDisks * diskSize, 0);
    for (int k = 0; k < kDisks; ++k) {
        std::uint8_t* disk = image.data() + k * diskSize;
        std::memcpy(disk, "SHARED CHAIN", 12);
        put32(disk + 0x1C, static_cast<std::uint32_t>(diskSize));
        put32(disk + 0x20, static_cast<std::uint32_t>(kHeaderSize));
        for (int t = 1; t <= 4; ++t) put32(disk + 0x20 + 4 * t, static_cast<std::uint32_t>(chainStart));
        std::uint8_t* boot = disk + kHeaderSize;
        boot[2] = 1;  // C0 H0 R1 N1
        boot[3] = 1;
        put16(boot + 4, 1);
        put16(boot + 14, 256);
        std::memcpy(boot + kRecordSize, fixture::kProgramSignature, 8);
        for (std::size_t i = 0; i < kPartRecords; ++i) {
            std::uint8_t* record = disk + chainStart + i * kRecordSize;
            std::memset(record, 0xFF, 4);  // an ID no lookup asks for
            put16(record + 4, i == 0 ? 2 : 1);
            put16(record + 14, 0);
        }
        if (k + 1 < kDisks) {
            std::uint8_t* last = disk + chainStart + (kPartRecords - 1) * kRecordSize;
            put16(last + 14, static_cast<std::uint32_t>(kHeaderSize + kBootTrackSize));
        }
    }
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string kind = argc == 3 ? argv[1] : "";
    if (kind != "long-tracks" && kind != "shared-chain") {
        std::fprintf(stderr, "usage: make_hostile_image long-tracks|shared-chain OUTPUT\n");
        return 1;
    }
    try {
        if (kind == "long-tracks") {
            fixture::Disk disk = fixture::programDisk();
            for (int t = 1; t <= 4; ++t) disk.tracks[t] = bench::hostileTrack(t);
            fixture::writeFile(argv[2], fixture::buildImage(std::vector<fixture::Disk>(kDisks, disk)));
        } else {
            fixture::writeFile(argv[2], sharedChainImage());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_hostile_image: %s\n", e.what());
        return 1;
    }
    return 0;
}
