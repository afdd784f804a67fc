// Streams for the reader's tests that a plain file cannot give: one whose
// reads fail, as on a failing medium, and sparse files far larger than the
// bytes written to them.
#ifndef TESTS_SUPPORT_STREAMS_H
#define TESTS_SUPPORT_STREAMS_H

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "tests/support/d88_builder.h"

namespace fixture {

// A stream open for reading that holds `bytes` and fails with EIO every
// read that would deliver a byte at position `failFrom` or beyond (glibc's
// fopencookie).
std::FILE* failingStream(const Bytes& bytes, std::int64_t failFrom);

// Writes a file of `size` bytes that holds each of `pieces` at its offset
// and zeros elsewhere, without storing the zeros.
void writeSparseFile(const std::string& path, std::int64_t size,
                     const std::map<std::int64_t, Bytes>& pieces);

}  // namespace fixture

#endif
