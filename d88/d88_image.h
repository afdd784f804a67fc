// D88Image: reads floppy-disk images in the D88 format.
//
// One file holds one or more disks back to back. Every multi-byte field is
// unsigned little-endian.
//
//   file:   [disk 0][disk 1]...        disk k+1 starts disk k's size field
//                                      bytes after disk k's header
//
//   disk header (688 bytes)
//     0x00  16   name, NUL-padded
//     0x10  11   not interpreted
//     0x1B   1   media byte
//     0x1C   4   disk size: distance to the next disk's header, and the
//                bound for track offsets
//     0x20 656   track table: 164 x u32, offset of the track's first sector
//                record from the start of this header; 0 = track absent
//
//   sector record (16-byte header, then the data)
//     0     4    sector ID: C, H, R, N
//     4     2    number of sectors in this track
//     6     8    not interpreted
//     14    2    data length
//     16    ...  data; the next record of the track follows directly
//
// A sector is found by its stored ID, never by its position. The reader never
// writes to the image and never prints.
#ifndef D88_D88_IMAGE_H
#define D88_D88_IMAGE_H

#include <cstdint>

#include "d88/image_file.h"

constexpr std::int32_t kMaxDisks = 64;
constexpr std::int32_t kTrackSlots = 164;
constexpr std::int32_t kDiskHeaderSize = 688;
constexpr std::int32_t kSectorRecordHeaderSize = 16;
constexpr std::int32_t kDiskNameSize = 16;
// The most records a walk along one track passes. A track's count field (16
// bits) can name no more, so a walk that honours the counts never reaches
// it; a chain whose counts never end the walk is cut off here instead of
// being followed to the end of the file.
constexpr std::int32_t kMaxTrackRecords = 65535;

class D88Image {
public:
    D88Image();
    ~D88Image();  // closes the image if one is open
    D88Image(const D88Image&) = delete;
    D88Image& operator=(const D88Image&) = delete;

    // Opens `path` for reading and finds its disks, up to kMaxDisks. With a
    // null path it only closes. The selected disk's fields are left alone:
    // select a disk after opening.
    bool open(const char* path);
    // The same for a stream already open for binary reading, which the
    // instance takes over (the command opens the image itself, so that it
    // can refuse what is not a regular file). False for a null stream.
    bool openStream(std::FILE* file);
    // Closes the file; the disk count drops to 0 and nothing is selected. The
    // last selected disk's name, size, base and track table stay.
    void close();
    std::int32_t diskCount() const { return diskCount_; }
    bool selectDisk(std::int32_t index);
    std::int32_t currentDisk() const { return currentDisk_; }
    // The sector numbers at which a run of sectors restarts on the next track
    // (`first`) and after which it moves there (`last`).
    void setSectorRange(std::int32_t first, std::int32_t last);
    std::int32_t mediaType() const { return media_; }
    const char* diskName() const { return name_; }
    // The system's error number of the first read of the image that failed
    // (as opposed to finding the file's end) since it was opened; 0 while
    // none has. After a failed read every lookup delivers nothing.
    int readError() const { return file_.error(); }

    // Finds the sector with ID (c, h, r, n) on track index `track` of the
    // selected disk and copies at most `capacity` bytes of its data into
    // `buffer`. Returns the number of bytes that arrived; 0 when none did.
    std::int32_t readSector(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                            std::int32_t n, std::uint8_t* buffer, std::int32_t capacity);
    // Lists the sector IDs of track index `track` in stored order, four bytes
    // (C, H, R, N) each, whole entries only. Returns the bytes written.
    std::int32_t readSectorIds(std::int32_t track, std::uint8_t* buffer, std::int32_t length);
    // Reads `length` bytes of consecutive sectors of size code `n`, starting
    // at (track, c, h, r): sector number after sector number, and after the
    // last sector number on to the next track with the head flipped (and the
    // cylinder stepped after head 1). Returns the bytes of the whole sectors
    // delivered; a short sector ends the run uncounted, its bytes in `buffer`.
    std::int32_t readSectors(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                             std::int32_t n, std::uint8_t* buffer, std::int32_t length);

private:
    struct RecordHeader {
        std::int32_t c, h, r, n;
        std::int32_t sectorCount;
        std::int32_t dataLength;
    };

    void scanDisks();
    void resetSelection();
    bool findTrack(std::int32_t track, std::int64_t* position) const;
    bool readRecordHeader(std::int64_t position, RecordHeader* record);

    d88::ImageFile file_;
    std::int32_t currentDisk_ = -1;
    std::int32_t diskCount_ = 0;
    std::int32_t firstSector_ = 1;
    std::int32_t lastSector_ = 16;
    std::int32_t diskOffsets_[kMaxDisks] = {};
    std::int32_t diskSize_ = 0;
    std::int32_t diskBase_ = 0;
    std::int32_t trackOffsets_[kTrackSlots] = {};
    std::int32_t media_ = -1;
    char name_[kDiskNameSize + 1] = {};
};

#endif
