// The image reader against images built in memory: the directory of disks,
// disk selection, sector lookup and sector ID listings, including damaged
// and hostile tables.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "d88/d88_image.h"
#include "tests/support/d88_builder.h"
#include "tests/support/run.h"
#include "tests/support/streams.h"

using fixture::Bytes;
using fixture::Disk;
using fixture::Sector;
using fixture::Track;

namespace {

constexpr std::uint32_t kFirstTrackOffset = 688;

Sector sector(std::uint8_t c, std::uint8_t h, std::uint8_t r, std::uint8_t n, std::size_t length,
              std::uint8_t fill) {
    Sector s;
    s.c = c;
    s.h = h;
    s.r = r;
    s.n = n;
    s.data.assign(length, fill);
    return s;
}

Disk namedDisk(const std::string& name, std::uint8_t media = 0) {
    Disk disk;
    disk.name = name;
    disk.media = media;
    return disk;
}

class ImageTest : public ::testing::Test {
protected:
    void load(const Bytes& bytes) {
        path_ = dir_.file("image.d88");
        fixture::writeFile(path_, bytes);
        ASSERT_TRUE(image_.open(path_.c_str()));
    }
    // Opens a fresh image of the one disk `disk` in `image`, disk 0 selected.
    void openDisk(D88Image& image, const Disk& disk) {
        const std::string path = dir_.file("disk.d88");
        fixture::writeFile(path, fixture::buildDisk(disk));
        ASSERT_TRUE(image.open(path.c_str()));
        ASSERT_TRUE(image.selectDisk(0));
    }
    void loadAndSelect(const std::vector<Disk>& disks, std::int32_t index = 0) {
        load(fixture::buildImage(disks));
        ASSERT_TRUE(image_.selectDisk(index));
    }

    fixture::TempDir dir_;
    std::string path_;
    D88Image image_;
};

// ---------------------------------------------------------------- directory

TEST_F(ImageTest, NewInstanceIsClosedWithDefaults) {
    EXPECT_EQ(image_.diskCount(), 0);
    EXPECT_EQ(image_.currentDisk(), -1);
    EXPECT_EQ(image_.mediaType(), -1);
    EXPECT_STREQ(image_.diskName(), "");
    EXPECT_TRUE(image_.open(nullptr));
    EXPECT_EQ(image_.diskCount(), 0);
    EXPECT_FALSE(image_.selectDisk(0));
    std::uint8_t buffer[256];
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
}

TEST_F(ImageTest, OpenFailsForMissingFile) {
    EXPECT_FALSE(image_.open(dir_.file("missing.d88").c_str()));
    EXPECT_EQ(image_.diskCount(), 0);
    EXPECT_FALSE(image_.selectDisk(0));
}

struct CountCase {
    const char* name;
    Bytes image;
    std::int32_t expected;
};

Bytes withTail(Bytes bytes, std::size_t extra) {
    bytes.resize(bytes.size() + extra, 0xE5);
    return bytes;
}

Disk sized(std::uint32_t sizeField) {
    Disk disk = namedDisk("SIZED");
    disk.sizeField = sizeField;
    return disk;
}

TEST_F(ImageTest, DiskCountFollowsTheSizeChain) {
    const std::vector<Disk> sixtyFive(65, namedDisk("D"));
    const CountCase cases[] = {
        {"empty file", {}, 0},
        {"shorter than a header", Bytes(687, 0), 0},
        {"one header, tail too short for another", withTail(fixture::buildDisk(namedDisk("A")), 687), 1},
        {"three disks", fixture::buildImage({namedDisk("A"), namedDisk("B"), namedDisk("C")}), 3},
        {"65 disks stop at 64", fixture::buildImage(sixtyFive), 64},
        {"size 0 repeats the disk", fixture::buildDisk(sized(0)), 64},
        // The next disk would start past 2^31 - 1: the chain ends there.
        {"size 0xFFFFFFFF", withTail(fixture::buildDisk(sized(0xFFFFFFFFu)), 4096), 1},
        {"size 0x80000000", withTail(fixture::buildDisk(sized(0x80000000u)), 4096), 1},
    };
    for (const CountCase& c : cases) {
        SCOPED_TRACE(c.name);
        D88Image image;
        const std::string path = dir_.file("count.d88");
        fixture::writeFile(path, c.image);
        ASSERT_TRUE(image.open(path.c_str()));
        EXPECT_EQ(image.diskCount(), c.expected);
    }
}

TEST_F(ImageTest, SelectDiskLoadsEachHeaderInTurn) {
    Disk a = namedDisk("FIRST", 0x00);
    a.tracks[0] = fixture::standardTrack(0, 1);
    Disk b = namedDisk("SECOND", 0x20);
    Disk c = namedDisk("THIRD", 0x30);
    c.tracks[5] = fixture::standardTrack(5, 3);
    load(fixture::buildImage({a, b, c}));
    ASSERT_EQ(image_.diskCount(), 3);
    const char* names[] = {"FIRST", "SECOND", "THIRD"};
    const std::int32_t media[] = {0x00, 0x20, 0x30};
    for (std::int32_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(image_.selectDisk(i));
        EXPECT_EQ(image_.currentDisk(), i);
        EXPECT_STREQ(image_.diskName(), names[i]);
        EXPECT_EQ(image_.mediaType(), media[i]);
    }
    // The third disk's track 5 is found relative to its own header.
    std::uint8_t buffer[256];
    EXPECT_EQ(image_.readSector(5, 2, 1, 3, 1, buffer, 256), 256);
    EXPECT_EQ(Bytes(buffer, buffer + 256), fixture::sectorContents(5, 3, 256));
}

TEST_F(ImageTest, SizeZeroRepeatsTheFirstDiskInEverySlot) {
    Disk disk = sized(0);
    loadAndSelect({disk}, 63);
    EXPECT_STREQ(image_.diskName(), "SIZED");
}

TEST_F(ImageTest, NameIsCutAtNulOrSixteenBytes) {
    Bytes full = fixture::buildDisk(namedDisk("ABCDEFGHIJKLMNOP"));
    full[0x10] = 'Q';  // the byte after the name field never joins it
    Bytes empty = fixture::buildDisk(namedDisk(""));
    empty[1] = 'X';  // a name field that begins with NUL is empty
    full.insert(full.end(), empty.begin(), empty.end());
    load(full);
    ASSERT_TRUE(image_.selectDisk(0));
    EXPECT_STREQ(image_.diskName(), "ABCDEFGHIJKLMNOP");
    ASSERT_TRUE(image_.selectDisk(1));
    EXPECT_STREQ(image_.diskName(), "");
}

TEST_F(ImageTest, FailedSelectResetsTheSelection) {
    loadAndSelect({namedDisk("ONE", 0x20)});
    for (std::int32_t index : {1, -1, 64}) {
        EXPECT_FALSE(image_.selectDisk(index));
        EXPECT_EQ(image_.currentDisk(), -1);
        EXPECT_EQ(image_.mediaType(), -1);
        EXPECT_STREQ(image_.diskName(), "");
    }
}

TEST_F(ImageTest, ReadsFailAfterAFailedSelect) {
    Disk disk = namedDisk("ONE");
    disk.tracks[0] = fixture::standardTrack(0, 4);
    loadAndSelect({disk});
    std::uint8_t buffer[256];
    ASSERT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 256);
    EXPECT_FALSE(image_.selectDisk(1));
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
    EXPECT_EQ(image_.readSectorIds(0, buffer, 256), 0);
}

TEST_F(ImageTest, CloseKeepsTheLastDiskButNothingReadsWithoutAFile) {
    Disk disk = namedDisk("KEPT", 0x10);
    disk.tracks[0] = fixture::standardTrack(0, 1);
    loadAndSelect({disk});
    image_.close();
    EXPECT_EQ(image_.diskCount(), 0);
    EXPECT_EQ(image_.currentDisk(), -1);
    EXPECT_EQ(image_.mediaType(), -1);
    EXPECT_STREQ(image_.diskName(), "KEPT");
    std::uint8_t buffer[256];
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
    EXPECT_FALSE(image_.selectDisk(0));
    EXPECT_STREQ(image_.diskName(), "KEPT");  // a select without a file changes nothing
    // Reopening finds the disks again; the old selection is not cleared by it.
    ASSERT_TRUE(image_.open(path_.c_str()));
    EXPECT_EQ(image_.diskCount(), 1);
    EXPECT_STREQ(image_.diskName(), "KEPT");
}

// ------------------------------------------------------------ sector lookup

// One disk whose track 0 holds the given records. Its media byte is not 0,
// so that a lookup that strayed past the end of the track table would not
// find what looks like an absent track there.
Disk oneTrack(std::vector<Sector> records) {
    Disk disk = namedDisk("T", 0x20);
    disk.tracks[0].sectors = std::move(records);
    return disk;
}

struct LookupCase {
    const char* name;
    Disk disk;
    std::int32_t track, c, h, r, n, capacity;
    std::int32_t expected;
    std::uint8_t firstByte;  // of the delivered data, when any
};

TEST_F(ImageTest, ReadSectorFindsByWholeId) {
    auto counted = [](Sector s, std::uint16_t count) {
        s.count = count;
        return s;
    };
    const LookupCase cases[] = {
        {"match", oneTrack({sector(0, 0, 1, 1, 256, 0xA1)}), 0, 0, 0, 1, 1, 256, 256, 0xA1},
        {"third record", oneTrack({sector(0, 0, 1, 1, 256, 1), sector(0, 0, 2, 1, 256, 2),
                                   sector(0, 0, 3, 1, 256, 3)}),
         0, 0, 0, 3, 1, 256, 256, 3},
        {"first of two equal IDs wins", oneTrack({sector(0, 0, 1, 1, 256, 1), sector(0, 0, 1, 1, 256, 2)}),
         0, 0, 0, 1, 1, 256, 256, 1},
        {"data shorter than capacity", oneTrack({sector(0, 0, 1, 1, 128, 7)}), 0, 0, 0, 1, 1, 256, 128, 7},
        {"capacity shorter than data", oneTrack({sector(0, 0, 1, 1, 128, 7)}), 0, 0, 0, 1, 1, 100, 100, 7},
        {"capacity 0", oneTrack({sector(0, 0, 1, 1, 128, 7)}), 0, 0, 0, 1, 1, 0, 0, 0},
        {"negative capacity", oneTrack({sector(0, 0, 1, 1, 128, 7)}), 0, 0, 0, 1, 1, -1, 0, 0},
        {"N takes part", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 0, 0, 1, 2, 256, 0, 0},
        {"C takes part", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 1, 0, 1, 1, 256, 0, 0},
        {"H takes part", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 0, 1, 1, 1, 256, 0, 0},
        {"whole numbers: 256 is not 0", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 256, 0, 1, 1, 256, 0, 0},
        {"whole numbers: 257 is not 1", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 0, 0, 257, 1, 256, 0, 0},
        {"count 0 ends the walk at once", oneTrack({counted(sector(0, 0, 1, 1, 256, 7), 0)}),
         0, 0, 0, 1, 1, 256, 0, 0},
        {"the walk ends after the count",
         oneTrack({counted(sector(0, 0, 1, 1, 16, 1), 2), counted(sector(0, 0, 2, 1, 16, 2), 2),
                   counted(sector(0, 0, 3, 1, 16, 3), 2)}),
         0, 0, 0, 3, 1, 256, 0, 0},
        {"the latest record's count rules",
         oneTrack({counted(sector(0, 0, 1, 1, 16, 1), 16), counted(sector(0, 0, 2, 1, 16, 2), 2),
                   counted(sector(0, 0, 3, 1, 16, 3), 16)}),
         0, 0, 0, 3, 1, 256, 0, 0},
        {"missing ID", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 0, 0, 0, 2, 1, 256, 0, 0},
        {"absent track", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 1, 0, 0, 1, 1, 256, 0, 0},
        {"track 164", oneTrack({sector(0, 0, 1, 1, 256, 7)}), 164, 0, 0, 1, 1, 256, 0, 0},
        {"track -1", oneTrack({sector(0, 0, 1, 1, 256, 7)}), -1, 0, 0, 1, 1, 256, 0, 0},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        D88Image image;
        ASSERT_NO_FATAL_FAILURE(openDisk(image, c.disk));
        std::uint8_t buffer[300];
        std::memset(buffer, 0xEE, sizeof buffer);
        EXPECT_EQ(image.readSector(c.track, c.c, c.h, c.r, c.n, buffer, c.capacity), c.expected);
        if (c.expected > 0) {
            EXPECT_EQ(buffer[0], c.firstByte);
            EXPECT_EQ(buffer[c.expected - 1], c.firstByte);
        }
        EXPECT_EQ(buffer[c.expected > 0 ? c.expected : 0], 0xEE) << "wrote past what it delivered";
    }
}

TEST_F(ImageTest, TrackOffsetIsBoundedByTheDiskSize) {
    // The track's records lie beyond the disk's end when the size field is
    // small; an offset equal to the size is still followed.
    Disk disk = oneTrack({sector(0, 0, 1, 1, 256, 9)});
    std::uint8_t buffer[256];
    for (std::uint32_t size : {kFirstTrackOffset - 1, kFirstTrackOffset}) {
        SCOPED_TRACE(size);
        disk.sizeField = size;
        D88Image image;
        ASSERT_NO_FATAL_FAILURE(openDisk(image, disk));
        EXPECT_EQ(image.readSector(0, 0, 0, 1, 1, buffer, 256), size == kFirstTrackOffset ? 256 : 0);
    }
}

TEST_F(ImageTest, TrackOffsetsWithTheTopBitSetAreRefused) {
    // Disk 1's track 0 entry, taken as a signed number, points back into
    // disk 0's records. It must not be followed there.
    Disk first = oneTrack({sector(0, 0, 1, 1, 256, 0x11)});
    const std::uint32_t firstSize = static_cast<std::uint32_t>(fixture::buildDisk(first).size());
    Disk second = namedDisk("SECOND");
    second.tracks[0].sectors = {sector(0, 0, 9, 1, 256, 0x22)};
    second.trackOffsetFields[0] = 0u - (firstSize - kFirstTrackOffset);
    Disk hugeSize = oneTrack({sector(0, 0, 1, 1, 256, 0x33)});
    hugeSize.sizeField = 0xFFFFFFF0u;
    loadAndSelect({first, second});
    std::uint8_t buffer[256];
    ASSERT_TRUE(image_.selectDisk(1));
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
    EXPECT_EQ(image_.readSectorIds(0, buffer, 256), 0);

    // A size field of 2^31 or more is held as a negative size: no track
    // offset lies within it.
    D88Image image;
    ASSERT_NO_FATAL_FAILURE(openDisk(image, hugeSize));
    EXPECT_EQ(image.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
}

TEST_F(ImageTest, TruncatedSectorDeliversOnlyTheBytesThatArrived) {
    Bytes bytes = fixture::buildDisk(oneTrack({sector(0, 0, 1, 1, 256, 0x5A)}));
    bytes.resize(kFirstTrackOffset + 16 + 100);
    load(bytes);
    ASSERT_TRUE(image_.selectDisk(0));
    std::uint8_t buffer[256];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 100);
    EXPECT_EQ(buffer[99], 0x5A);
    EXPECT_EQ(buffer[100], 0xEE);

    bytes.resize(kFirstTrackOffset + 15);  // not even a whole record header
    fixture::writeFile(path_, bytes);
    ASSERT_TRUE(image_.open(path_.c_str()));
    ASSERT_TRUE(image_.selectDisk(0));
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 0);
    EXPECT_EQ(image_.readSectorIds(0, buffer, 256), 0);
}

// ------------------------------------------------------- sector ID listings

TEST_F(ImageTest, ReadSectorIdsListsWholeEntriesInStoredOrder) {
    auto track = [](int records, std::vector<std::uint16_t> counts = {}) {
        std::vector<Sector> sectors;
        for (int i = 0; i < records; ++i) {
            Sector s = sector(static_cast<std::uint8_t>(i), 1, static_cast<std::uint8_t>(100 + i), 2, 8, 0);
            if (!counts.empty()) s.count = counts[static_cast<std::size_t>(i)];
            sectors.push_back(s);
        }
        return oneTrack(sectors);
    };
    struct Case {
        const char* name;
        Disk disk;
        std::int32_t track, length, expected;
    } const cases[] = {
        {"16 records, 64 bytes", track(16), 0, 64, 64},
        {"16 records, 16 bytes", track(16), 0, 16, 16},
        {"20 records, 66 bytes: whole entries", track(20), 0, 66, 64},
        {"counts 0, 0, 3, 0 stop at the third", track(4, {0, 0, 3, 0}), 0, 64, 12},
        {"all counts 0 run to the file's end", track(5, {0, 0, 0, 0, 0}), 0, 64, 20},
        {"length 3", track(16), 0, 3, 0},
        {"negative length", track(16), 0, -4, 0},
        {"track -1", track(16), -1, 64, 0},
        {"track 164", track(16), 164, 64, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D88Image image;
        ASSERT_NO_FATAL_FAILURE(openDisk(image, c.disk));
        std::uint8_t buffer[128];
        std::memset(buffer, 0xEE, sizeof buffer);
        ASSERT_EQ(image.readSectorIds(c.track, buffer, c.length), c.expected);
        for (std::int32_t i = 0; i < c.expected / 4; ++i) {
            const std::uint8_t expected[4] = {static_cast<std::uint8_t>(i), 1,
                                               static_cast<std::uint8_t>(100 + i), 2};
            EXPECT_EQ(0, std::memcmp(buffer + 4 * i, expected, 4)) << "entry " << i;
        }
        EXPECT_EQ(buffer[c.expected], 0xEE);
    }
}

}  // namespace

// ------------------------------------------------------------- sector runs

namespace {

// The expected bytes of a run: `bytes` of each listed (track, R) in turn.
struct Piece {
    int track, r;
    std::size_t bytes;
};

Bytes concat(const std::vector<Piece>& pieces) {
    Bytes out;
    for (const Piece& p : pieces) {
        const Bytes data = fixture::sectorContents(p.track, p.r, p.bytes);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

// Tracks 0 to 5 and 163 of 16 sectors of 256 bytes, R1 to R16.
Disk runDisk() {
    Disk disk = namedDisk("RUNS");
    for (int t : {0, 1, 2, 3, 4, 5, 163}) disk.tracks[t] = fixture::standardTrack(t);
    return disk;
}

}  // namespace

TEST_F(ImageTest, ReadSectorsFollowsSectorsAcrossTracks) {
    Disk missingThird = runDisk();
    missingThird.tracks[2].sectors.erase(missingThird.tracks[2].sectors.begin() + 2);
    Disk shortSecond = runDisk();
    shortSecond.tracks[2].sectors[1].data.resize(128);
    Disk wide = runDisk();
    for (Sector& s : wide.tracks[2].sectors) s.data = fixture::sectorContents(2, s.r, 512);

    struct Case {
        const char* name;
        Disk disk;
        std::int32_t track, c, h, r, length;
        std::int32_t expected;
        Bytes contents;  // the first `expected` bytes of the buffer
    } const cases[] = {
        {"one whole track", runDisk(), 4, 2, 0, 1, 4096, 4096, fixture::sectorRun(4, 1, 16)},
        {"head 1 to the next cylinder", runDisk(), 1, 0, 1, 15, 1024, 1024,
         concat({{1, 15, 256}, {1, 16, 256}, {2, 1, 256}, {2, 2, 256}})},
        {"head 0 to head 1", runDisk(), 2, 1, 0, 16, 512, 512, concat({{2, 16, 256}, {3, 1, 256}})},
        {"part of a last sector", runDisk(), 2, 1, 0, 1, 600, 600,
         concat({{2, 1, 256}, {2, 2, 256}, {2, 3, 88}})},
        {"third sector missing", missingThird, 2, 1, 0, 1, 1024, 512, concat({{2, 1, 256}, {2, 2, 256}})},
        {"second sector short", shortSecond, 2, 1, 0, 1, 1024, 256, concat({{2, 1, 256}, {2, 2, 128}})},
        {"short sector wide enough for the rest", shortSecond, 2, 1, 0, 1, 384, 384,
         concat({{2, 1, 256}, {2, 2, 128}})},
        {"sectors longer than nominal", wide, 2, 1, 0, 1, 1024, 1024,
         concat({{2, 1, 256}, {2, 2, 256}, {2, 3, 256}, {2, 4, 256}})},
        {"above the last sector number", runDisk(), 2, 1, 0, 17, 256, 0, {}},
        {"the last track ends the run", runDisk(), 163, 81, 1, 16, 1024, 256, concat({{163, 16, 256}})},
        {"length 0", runDisk(), 2, 1, 0, 1, 0, 0, {}},
        {"negative length", runDisk(), 2, 1, 0, 1, -256, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D88Image image;
        ASSERT_NO_FATAL_FAILURE(openDisk(image, c.disk));
        Bytes buffer(8192, 0xEE);
        EXPECT_EQ(image.readSectors(c.track, c.c, c.h, c.r, 1, buffer.data(), c.length), c.expected);
        const Bytes head(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(c.contents.size()));
        EXPECT_EQ(head, c.contents);
    }
}

TEST_F(ImageTest, SectorRangeSetsWhereARunWrapsAndSurvivesReopening) {
    Disk disk = runDisk();
    disk.tracks[3].sectors.erase(disk.tracks[3].sectors.begin());  // no R1 on track 3
    loadAndSelect({disk});
    image_.setSectorRange(2, 8);
    image_.close();
    ASSERT_TRUE(image_.open(path_.c_str()));
    ASSERT_TRUE(image_.selectDisk(0));
    Bytes buffer(1024, 0);
    // R7, R8, then track 3 from R2.
    EXPECT_EQ(image_.readSectors(2, 1, 0, 7, 1, buffer.data(), 1024), 1024);
    EXPECT_EQ(buffer, concat({{2, 7, 256}, {2, 8, 256}, {3, 2, 256}, {3, 3, 256}}));
    // Back to 1..16: the run moves on after R16 and finds no R1 on track 3.
    image_.setSectorRange(1, 16);
    EXPECT_EQ(image_.readSectors(2, 1, 0, 16, 1, buffer.data(), 512), 256);  // track 3 lacks R1
}

TEST_F(ImageTest, SizeCodeSetsTheUnitOfARun) {
    // N = 0: 128-byte sectors, two of them for 256 bytes. N = 24: a unit
    // longer than any request, so the whole request is one sector's share.
    Disk disk = namedDisk("UNITS");
    disk.tracks[0].sectors = {sector(0, 0, 1, 0, 128, 1), sector(0, 0, 2, 0, 128, 2),
                              sector(0, 0, 1, 24, 300, 3)};
    D88Image image;
    ASSERT_NO_FATAL_FAILURE(openDisk(image, disk));
    Bytes buffer(512, 0xEE);
    EXPECT_EQ(image.readSectors(0, 0, 0, 1, 0, buffer.data(), 256), 256);
    EXPECT_EQ(buffer[127], 1);
    EXPECT_EQ(buffer[128], 2);
    EXPECT_EQ(image.readSectors(0, 0, 0, 1, 24, buffer.data(), 300), 300);
    EXPECT_EQ(buffer[299], 3);
    EXPECT_EQ(image.readSectors(0, 0, 0, 1, 24, buffer.data(), 301), 0);  // the sector is short
}

// A chain whose count fields never end the walk: the first record names a
// track of two records, every later one a track of one.
TEST_F(ImageTest, AWalkEndsAfter65535Records) {
    std::vector<Sector> chain(kMaxTrackRecords + 1, sector(0, 0, 0, 1, 0, 0));
    for (Sector& s : chain) s.count = 1;
    chain[0].count = 2;
    chain[kMaxTrackRecords - 1].r = 1;  // the last record a walk reaches
    chain[kMaxTrackRecords].r = 2;      // one record beyond
    chain[kMaxTrackRecords].data.assign(16, 0x78);
    D88Image image;
    ASSERT_NO_FATAL_FAILURE(openDisk(image, oneTrack(chain)));
    std::uint8_t buffer[256];
    EXPECT_EQ(image.readSector(0, 0, 0, 2, 1, buffer, 256), 0);
    chain[kMaxTrackRecords - 1].data.assign(16, 0x77);
    D88Image found;
    ASSERT_NO_FATAL_FAILURE(openDisk(found, oneTrack(chain)));
    EXPECT_EQ(found.readSector(0, 0, 0, 1, 1, buffer, 256), 16);
    EXPECT_EQ(buffer[15], 0x77);
    Bytes ids(4 * (kMaxTrackRecords + 2));
    EXPECT_EQ(found.readSectorIds(0, ids.data(), static_cast<std::int32_t>(ids.size())),
              4 * kMaxTrackRecords);
}

// Real disks are 350 KB to 1.2 MB: every byte of a 32-bit field counts. A
// sparse file puts disk 1 at 0x01020304 and disk 0's track 0 at 0x01010000.
TEST_F(ImageTest, FieldsUseAllFourBytes) {
    Disk first = oneTrack({sector(0, 0, 1, 1, 256, 0x44)});
    const Bytes built = fixture::buildDisk(first);
    const Bytes track(built.begin() + kFirstTrackOffset, built.end());
    first.sizeField = 0x01020304u;
    first.trackOffsetFields[0] = 0x01010000u;
    Bytes header = fixture::buildDisk(first);
    header.resize(kFirstTrackOffset);
    Disk second = namedDisk("SECOND");
    second.sizeField = 0x10000000u;
    const std::string path = dir_.file("large.d88");
    fixture::writeSparseFile(path, 0x01020304 + kFirstTrackOffset,
                             {{0, header}, {0x01010000, track}, {0x01020304, fixture::buildDisk(second)}});
    ASSERT_TRUE(image_.open(path.c_str()));
    ASSERT_EQ(image_.diskCount(), 2);
    ASSERT_TRUE(image_.selectDisk(1));
    EXPECT_STREQ(image_.diskName(), "SECOND");
    ASSERT_TRUE(image_.selectDisk(0));
    std::uint8_t buffer[256];
    EXPECT_EQ(image_.readSector(0, 0, 0, 1, 1, buffer, 256), 256);
    EXPECT_EQ(buffer[255], 0x44);
}

// Positions are held as signed 32-bit numbers: nothing at 2^31 or beyond is
// read, though a sparse file has bytes there.
TEST_F(ImageTest, NothingPastTheTwoGibibyteLimitIsRead) {
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;
    const std::string path = dir_.file("huge.d88");
    auto header = [](std::uint32_t size, std::map<int, std::uint32_t> tracks) {
        Disk disk = namedDisk("HUGE");
        disk.sizeField = size;
        disk.trackOffsetFields = std::move(tracks);
        return fixture::buildDisk(disk);
    };
    // A second header that ends at 2^31 - 1 is found; one a byte later is not.
    for (std::uint32_t size : {0x7FFFFD50u, 0x7FFFFD51u}) {
        SCOPED_TRACE(size);
        fixture::writeSparseFile(path, kLimit + 4096,
                                 {{0, header(size, {})}, {size, header(0x1000, {})}});
        D88Image image;
        ASSERT_TRUE(image.open(path.c_str()));
        EXPECT_EQ(image.diskCount(), size == 0x7FFFFD50u ? 2 : 1);
    }
    // Track 0's sector ends at 2^31 - 1; track 1's data starts at 2^31.
    Bytes record = fixture::buildDisk(oneTrack({sector(0, 0, 1, 1, 16, 0x66)}));
    record.erase(record.begin(), record.begin() + kFirstTrackOffset);
    fixture::writeSparseFile(path, kLimit + 4096,
                             {{0, header(0x7FFFFFFFu, {{0, 0x7FFFFFE0u}, {1, 0x7FFFFFF0u}})},
                              {0x7FFFFFE0, record},
                              {0x7FFFFFF0, record},
                              {kLimit, Bytes(16, 0x66)}});
    D88Image image;
    ASSERT_TRUE(image.open(path.c_str()));
    ASSERT_TRUE(image.selectDisk(0));
    std::uint8_t buffer[16];
    EXPECT_EQ(image.readSector(0, 0, 0, 1, 1, buffer, 16), 16);
    EXPECT_EQ(image.readSector(1, 0, 0, 1, 1, buffer, 16), 0);
}

// A read that fails is not the end of the file: the reader remembers it,
// delivers nothing more, and says why.
TEST_F(ImageTest, AFailedReadIsNotTheEndOfTheImage) {
    D88Image image;
    ASSERT_TRUE(image.openStream(fixture::failingStream(fixture::buildImage({runDisk()}), 0)));
    EXPECT_EQ(image.diskCount(), 0);
    EXPECT_EQ(image.readError(), EIO);

    // Disk 1 lies past the first window's reach; reading it fails.
    Disk padded = runDisk();
    padded.sizeField = 2 * d88::kWindowSize;
    Bytes bytes = fixture::buildDisk(padded);
    bytes.resize(2 * d88::kWindowSize, 0);
    const Bytes second = fixture::buildDisk(runDisk());
    bytes.insert(bytes.end(), second.begin(), second.end());
    ASSERT_TRUE(image.openStream(fixture::failingStream(bytes, d88::kWindowSize)));
    EXPECT_EQ(image.diskCount(), 1);
    EXPECT_EQ(image.readError(), EIO);
    EXPECT_FALSE(image.selectDisk(0));  // nothing is read once a read failed

    // The same bytes from a file that reads: two disks, no error.
    fixture::writeFile(dir_.file("good.d88"), bytes);
    ASSERT_TRUE(image.open(dir_.file("good.d88").c_str()));
    EXPECT_EQ(image.diskCount(), 2);
    EXPECT_EQ(image.readError(), 0);
}
