// The read window under the reader: whatever the order of reads, each one
// delivers exactly the file's bytes at its position, and no more than exist.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "d88/image_file.h"
#include "tests/support/d88_builder.h"
#include "tests/support/run.h"
#include "tests/support/streams.h"

namespace {

TEST(ImageFileTest, EveryReadDeliversTheFilesBytes) {
    constexpr std::int64_t kSize = 3 * d88::kWindowSize + 1000;
    fixture::Bytes bytes(kSize);
    for (std::int64_t i = 0; i < kSize; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 % 251);
    fixture::TempDir dir;
    fixture::writeFile(dir.file("f"), bytes);
    d88::ImageFile file;
    ASSERT_TRUE(file.open(dir.file("f").c_str()));

    struct Read {
        std::int64_t position;
        std::int32_t length, expected;
    } const reads[] = {
        {0, 16, 16},
        {16, 16, 16},                                  // inside the window
        {d88::kWindowSize - 8, 16, 16},                // across its end
        {100, 16, 16},                                 // behind it
        {5, d88::kWindowSize + 10, d88::kWindowSize + 10},  // larger than the window
        {kSize - 10, 16, 10},                          // the file ends inside
        {kSize - 10, 8, 8},
        {kSize, 16, 0},                                // at the end
        {kSize + 5, 16, 0},
        {-1, 16, 0},
        {d88::kMaxFilePosition + 1, 16, 0},
        {200, 0, 0},
        {200, -5, 0},
        {200, 16, 16},
    };
    std::vector<std::uint8_t> out(2 * d88::kWindowSize);
    for (const Read& r : reads) {
        SCOPED_TRACE(std::to_string(r.position) + "+" + std::to_string(r.length));
        ASSERT_EQ(file.readAt(r.position, out.data(), r.length), r.expected);
        for (std::int32_t i = 0; i < r.expected; ++i) {
            ASSERT_EQ(out[static_cast<std::size_t>(i)], bytes[static_cast<std::size_t>(r.position + i)]) << i;
        }
    }
    file.close();
    EXPECT_EQ(file.readAt(0, out.data(), 16), 0);
}

// Reopening on another file must not serve the first file's window.
TEST(ImageFileTest, ReopeningReadsTheNewFile) {
    fixture::TempDir dir;
    fixture::writeFile(dir.file("a"), fixture::Bytes(64, 0xAA));
    fixture::writeFile(dir.file("b"), fixture::Bytes(64, 0xBB));
    d88::ImageFile file;
    std::uint8_t out[16];
    ASSERT_TRUE(file.open(dir.file("a").c_str()));
    ASSERT_EQ(file.readAt(0, out, 16), 16);
    EXPECT_EQ(out[0], 0xAA);
    ASSERT_TRUE(file.open(dir.file("b").c_str()));
    ASSERT_EQ(file.readAt(0, out, 16), 16);
    EXPECT_EQ(out[0], 0xBB);
}

// A failed read is remembered: nothing more is delivered, not even bytes the
// window already holds, until the next open.
TEST(ImageFileTest, AFailedReadEndsAllReading) {
    fixture::Bytes bytes(3 * d88::kWindowSize);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 253);
    d88::ImageFile file;
    ASSERT_TRUE(file.openStream(fixture::failingStream(bytes, 2 * d88::kWindowSize)));
    std::vector<std::uint8_t> out(2 * d88::kWindowSize);
    EXPECT_EQ(file.readAt(0, out.data(), 16), 16);
    EXPECT_EQ(file.error(), 0);
    EXPECT_EQ(file.readAt(2 * d88::kWindowSize - 8, out.data(), 16), 0);
    EXPECT_EQ(file.error(), EIO);
    EXPECT_EQ(file.readAt(0, out.data(), 16), 0);
    ASSERT_TRUE(file.openStream(fixture::failingStream(bytes, 2 * d88::kWindowSize)));
    EXPECT_EQ(file.error(), 0);
    EXPECT_EQ(file.readAt(0, out.data(), 16), 16);
    // A read larger than the window goes straight to the file, and fails
    // the same way.
    EXPECT_EQ(file.readAt(d88::kWindowSize, out.data(), d88::kWindowSize + 1), 0);
    EXPECT_EQ(file.error(), EIO);
}

}  // namespace
