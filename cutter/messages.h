// The tool's fixed console texts. The Japanese ones are Shift_JIS bytes,
// written unconverted; the console stream turns each line feed into the
// host's line ending.
#ifndef CUTTER_MESSAGES_H
#define CUTTER_MESSAGES_H

namespace cutter {

// Standard error, with the invocation name for %s.
constexpr char kUsageFormat[] = "Usage: %s [d88file]\n";

// Standard error: "ファイルをオープンできません.\n" (the image cannot be opened).
constexpr char kOpenFailedText[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n";

// Standard output: "Program Diskを認識しました.\n" and "Data Diskを認識しました.\n".
#define CUTTER_RECOGNISED_SUFFIX "\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD.\n"
constexpr char kProgramDiskRecognisedText[] = "Program Disk" CUTTER_RECOGNISED_SUFFIX;
constexpr char kDataDiskRecognisedText[] = "Data Disk" CUTTER_RECOGNISED_SUFFIX;
#undef CUTTER_RECOGNISED_SUFFIX

// Standard output, once per file cut, with the file's name for %s.
constexpr char kCuttingFormat[] = "cutting ... %s\n";

// Standard error. Damage to a recognised disk and output that could not be
// written; %s is the file's name, then the system's reason where one is given.
constexpr char kSkippedFormat[] = "d88cut: warning: %s not written: its first sector cannot be read\n";
constexpr char kIncompleteFormat[] =
    "d88cut: warning: %s is incomplete: only the first %ld of its %ld bytes could be read\n";
constexpr char kWriteFailedFormat[] = "d88cut: error: cannot write %s: %s\n";
constexpr char kIsTheImageReason[] = "it is the image being read";

}  // namespace cutter

#endif
