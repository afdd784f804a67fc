// The read window under the reader: whatever the order of reads, each one
// delivers exactly the file's bytes at its position, and no more than exist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "d88/image_file.h"
#include "tests/support/d88_builder.h"
#include "tests/support/run.h"

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

}  // namespace
