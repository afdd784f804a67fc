#include "d88/d88_image.h"

#include "d88/bytes.h"

namespace {

// Disk header fields.
constexpr std::int32_t kNameOffset = 0x00;
constexpr std::int32_t kMediaOffset = 0x1B;
constexpr std::int32_t kDiskSizeOffset = 0x1C;
constexpr std::int32_t kTrackTableOffset = 0x20;

// Sector record header fields.
constexpr std::int32_t kIdOffset = 0;
constexpr std::int32_t kSectorCountOffset = 4;
constexpr std::int32_t kDataLengthOffset = 14;

}  // namespace

D88Image::D88Image() = default;

D88Image::~D88Image() { close(); }

bool D88Image::open(const char* path) {
    if (path == nullptr) {
        close();
        return true;
    }
    return openStream(std::fopen(path, "rb"));
}

bool D88Image::openStream(std::FILE* file) {
    if (!file_.openStream(file)) {
        return false;
    }
    scanDisks();
    return true;
}

// Follows the chain of size fields from offset 0. Any 688 bytes count as a
// header; the chain ends at the first short header, after kMaxDisks disks, or
// before a disk that would start past the highest position the reader
// addresses.
void D88Image::scanDisks() {
    std::uint8_t header[kDiskHeaderSize];
    std::int64_t offset = 0;
    std::int32_t count = 0;
    while (count < kMaxDisks && offset <= d88::kMaxFilePosition) {
        if (file_.readAt(offset, header, kDiskHeaderSize) != kDiskHeaderSize) {
            break;
        }
        diskOffsets_[count] = static_cast<std::int32_t>(offset);
        offset += d88::u32le(header + kDiskSizeOffset);
        ++count;
    }
    diskCount_ = count;
}

void D88Image::close() {
    file_.close();
    diskCount_ = 0;
    currentDisk_ = -1;
    media_ = -1;
}

void D88Image::resetSelection() {
    diskBase_ = -1;
    currentDisk_ = -1;
    media_ = -1;
    diskSize_ = 0;
    name_[0] = '\0';
}

bool D88Image::selectDisk(std::int32_t index) {
    if (!file_.isOpen()) {
        return false;
    }
    resetSelection();
    if (index < 0 || index >= diskCount_) {
        return false;
    }
    std::uint8_t header[kDiskHeaderSize];
    if (file_.readAt(diskOffsets_[index], header, kDiskHeaderSize) != kDiskHeaderSize) {
        return false;
    }
    diskBase_ = diskOffsets_[index];
    for (std::int32_t t = 0; t < kTrackSlots; ++t) {
        trackOffsets_[t] = d88::asSigned32(d88::u32le(header + kTrackTableOffset + 4 * t));
    }
    media_ = header[kMediaOffset];
    diskSize_ = d88::asSigned32(d88::u32le(header + kDiskSizeOffset));
    std::int32_t length = 0;
    while (length < kDiskNameSize && header[kNameOffset + length] != 0) {
        name_[length] = static_cast<char>(header[kNameOffset + length]);
        ++length;
    }
    name_[length] = '\0';
    currentDisk_ = index;
    return true;
}

void D88Image::setSectorRange(std::int32_t first, std::int32_t last) {
    firstSector_ = first;
    lastSector_ = last;
}

// Where the first sector record of `track` starts. An absent track (offset 0),
// an offset with its top bit set and an offset beyond the disk size are all
// refused; an offset equal to the disk size is still followed.
bool D88Image::findTrack(std::int32_t track, std::int64_t* position) const {
    if (!file_.isOpen() || track < 0 || track >= kTrackSlots) {
        return false;
    }
    const std::int32_t offset = trackOffsets_[track];
    if (offset <= 0 || offset > diskSize_) {
        return false;
    }
    *position = static_cast<std::int64_t>(diskBase_) + offset;
    return true;
}

bool D88Image::readRecordHeader(std::int64_t position, RecordHeader* record) {
    std::uint8_t raw[kSectorRecordHeaderSize];
    if (file_.readAt(position, raw, kSectorRecordHeaderSize) != kSectorRecordHeaderSize) {
        return false;
    }
    record->c = raw[kIdOffset + 0];
    record->h = raw[kIdOffset + 1];
    record->r = raw[kIdOffset + 2];
    record->n = raw[kIdOffset + 3];
    record->sectorCount = static_cast<std::int32_t>(d88::u16le(raw + kSectorCountOffset));
    record->dataLength = static_cast<std::int32_t>(d88::u16le(raw + kDataLengthOffset));
    return true;
}

// Walks the track's records until one matches all four ID values. The walk
// ends after as many records as the count field of the record just passed
// says, at a record whose count is 0, where the file ends, or after
// kMaxTrackRecords records.
std::int32_t D88Image::readSector(std::int32_t track, std::int32_t c, std::int32_t h,
                                  std::int32_t r, std::int32_t n, std::uint8_t* buffer,
                                  std::int32_t capacity) {
    std::int64_t position = 0;
    if (!findTrack(track, &position)) {
        return 0;
    }
    for (std::int32_t i = 0; i < kMaxTrackRecords; ++i) {
        RecordHeader record;
        if (!readRecordHeader(position, &record) || record.sectorCount == 0) {
            return 0;
        }
        const std::int64_t data = position + kSectorRecordHeaderSize;
        if (record.c == c && record.h == h && record.r == r && record.n == n) {
            const std::int32_t take = record.dataLength < capacity ? record.dataLength : capacity;
            return file_.readAt(data, buffer, take);
        }
        position = data + record.dataLength;
        if (i == record.sectorCount - 1) {
            return 0;
        }
    }
    return 0;
}

// Unlike readSector, a record whose count is 0 does not end the listing.
std::int32_t D88Image::readSectorIds(std::int32_t track, std::uint8_t* buffer,
                                     std::int32_t length) {
    std::int64_t position = 0;
    if (length < 0 || !findTrack(track, &position)) {
        return 0;
    }
    const std::int32_t entries = length / 4 < kMaxTrackRecords ? length / 4 : kMaxTrackRecords;
    std::int32_t written = 0;
    for (std::int32_t i = 0; i < entries; ++i) {
        RecordHeader record;
        if (!readRecordHeader(position, &record)) {
            break;
        }
        std::uint8_t* id = buffer + written;
        id[0] = static_cast<std::uint8_t>(record.c);
        id[1] = static_cast<std::uint8_t>(record.h);
        id[2] = static_cast<std::uint8_t>(record.r);
        id[3] = static_cast<std::uint8_t>(record.n);
        written += 4;
        position += kSectorRecordHeaderSize + record.dataLength;
        if (i == record.sectorCount - 1) {
            break;
        }
    }
    return written;
}

// The run reads whole nominal sectors (128 << n bytes) through readSector and
// stops at the first one that is missing or short. The advance to the next
// sector ID follows every delivered sector, but nothing is read after the
// last one, so a run that ends on a track's last sector never touches the
// next track. Only equality with the last sector number moves a run on: one
// that starts above it climbs until a sector number is missing.
std::int32_t D88Image::readSectors(std::int32_t track, std::int32_t c, std::int32_t h,
                                   std::int32_t r, std::int32_t n, std::uint8_t* buffer,
                                   std::int32_t length) {
    if (n < 0) {
        return 0;  // no stored size code is negative
    }
    // A size code of 24 or more names a sector longer than any request.
    const std::int32_t unit = n < 24 ? (128 << n) : 0x7FFFFFFF;
    std::int32_t done = 0;
    while (done < length) {
        const std::int32_t chunk = length - done < unit ? length - done : unit;
        if (readSector(track, c, h, r, n, buffer + done, chunk) < chunk) {
            return done;
        }
        done += chunk;
        // The sector just read matched c, h and r, so each is 0..255 and the
        // steps below cannot overflow.
        if (r == lastSector_) {
            ++track;
            if (h == 0) {
                h = 1;
            } else {
                h = 0;
                ++c;
            }
            r = firstSector_;
        } else {
            ++r;
        }
    }
    return done;
}
