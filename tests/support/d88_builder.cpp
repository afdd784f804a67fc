#include "tests/support/d88_builder.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace fixture {

namespace {

constexpr std::size_t kHeaderSize = 688;
constexpr std::size_t kRecordHeaderSize = 16;

void put16(Bytes& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(Bytes& out, std::size_t at, std::uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

}  // namespace

Bytes buildDisk(const Disk& disk) {
    Bytes out(kHeaderSize, 0);
    std::memcpy(out.data(), disk.name.data(), disk.name.size() < 16 ? disk.name.size() : 16);
    out[0x1B] = disk.media;
    for (const auto& [index, track] : disk.tracks) {
        put32(out, 0x20 + 4 * index, static_cast<std::uint32_t>(out.size()));
        for (const Sector& s : track.sectors) {
            const std::size_t at = out.size();
            out.resize(at + kRecordHeaderSize, 0);
            out[at + 0] = s.c;
            out[at + 1] = s.h;
            out[at + 2] = s.r;
            out[at + 3] = s.n;
            put16(out, at + 4, s.count.value_or(static_cast<std::uint16_t>(track.sectors.size())));
            put16(out, at + 14, s.dataLength.value_or(static_cast<std::uint16_t>(s.data.size())));
            out.insert(out.end(), s.data.begin(), s.data.end());
        }
    }
    for (const auto& [index, field] : disk.trackOffsetFields) {
        put32(out, 0x20 + 4 * index, field);
    }
    put32(out, 0x1C, disk.sizeField.value_or(static_cast<std::uint32_t>(out.size())));
    return out;
}

Bytes buildImage(const std::vector<Disk>& disks) {
    Bytes out;
    for (const Disk& disk : disks) {
        const Bytes one = buildDisk(disk);
        out.insert(out.end(), one.begin(), one.end());
    }
    return out;
}

Bytes sectorContents(int track, int r, std::size_t length) {
    Bytes data(length);
    for (std::size_t i = 0; i < length; ++i) {
        data[i] = static_cast<std::uint8_t>(track * 37 + r * 11 + i);
    }
    if (length > 0) data[0] = static_cast<std::uint8_t>(track);
    if (length > 1) data[1] = static_cast<std::uint8_t>(r);
    return data;
}

Bytes sectorRun(int track, int firstR, int count) {
    Bytes out;
    for (int r = firstR; r < firstR + count; ++r) {
        const Bytes data = sectorContents(track, r, 256);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

Track standardTrack(int track, int count, std::size_t length) {
    Track t;
    for (int r = 1; r <= count; ++r) {
        Sector s;
        s.c = static_cast<std::uint8_t>(track / 2);
        s.h = static_cast<std::uint8_t>(track % 2);
        s.r = static_cast<std::uint8_t>(r);
        s.n = 1;
        s.data = sectorContents(track, r, length);
        t.sectors.push_back(s);
    }
    return t;
}

Disk standardDisk(const std::uint8_t* signature, const std::vector<int>& tracks) {
    Disk disk;
    disk.tracks[0] = standardTrack(0);
    for (int t : tracks) {
        disk.tracks[t] = standardTrack(t);
    }
    std::memcpy(disk.tracks[0].sectors[0].data.data(), signature, 8);
    return disk;
}

Disk programDisk() {
    Disk disk = standardDisk(kProgramSignature, {1, 2, 3, 4});
    disk.name = "PROGRAM";
    return disk;
}

Disk dataDisk() {
    Disk disk = standardDisk(kDataSignature, {29});
    disk.name = "DATA";
    return disk;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) throw std::runtime_error("cannot create " + path);
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

Bytes readFile(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) throw std::runtime_error("cannot open " + path);
    Bytes out;
    std::uint8_t chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        out.insert(out.end(), chunk, chunk + got);
    }
    std::fclose(f);
    return out;
}

}  // namespace fixture
