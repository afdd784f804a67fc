// The tool's fixed console texts, each in the forms its readers need: the
// Japanese ones as UTF-8 and as their Shift_JIS bytes. The console stream
// turns each line feed into the host's line ending.
#ifndef CUTTER_MESSAGES_H
#define CUTTER_MESSAGES_H

#include "cutter/host.h"

namespace cutter {

// Standard error, with the invocation name for %s; with --help, standard
// output, followed by kHelpText.
constexpr char kUsageFormat[] = "Usage: %s [d88file]\n";

// Standard output, for -h or --help (or the host's own help switch).
constexpr char kHelpText[] =
    "Cuts the files of two known disks out of a D88 floppy-disk image into the\n"
    "current directory, replacing any files of the same names:\n"
    "  Program Disk  DRIVER, VOICE, MUS100 to MUS104\n"
    "  Data Disk     VOICE2, MUS200\n"
    "Other disks are passed over. The image is only read.\n"
    "\n"
    "Standard output has a line for each disk recognised and each file cut;\n"
    "warnings and errors go to standard error. The exit status is 0 when all\n"
    "went well (a damaged disk is cut as far as it can be read), 1 when the\n"
    "command line is wrong, the image cannot be opened or read, or a file or\n"
    "standard output cannot be written.\n"
    "\n"
    "  -h, --help   show this help and exit\n"
    "  --version    show the version and exit\n"
    "An image whose name begins with a dash is given as ./NAME.\n";

// Standard output, for --version, with the version for %s.
constexpr char kVersionFormat[] = "d88cut %s\n";

// Standard error: "ファイルをオープンできません.\n" (the image cannot be opened).
constexpr host::ConsoleText kOpenFailedText = {
    "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x82\x92\xE3\x82\xAA\xE3\x83\xBC\xE3\x83\x97"
    "\xE3\x83\xB3\xE3\x81\xA7\xE3\x81\x8D\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93.\n",
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xF0\x83\x49\x81\x5B\x83\x76\x83\x93"
    "\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1.\n",
};

// Standard output: "Program Diskを認識しました.\n" and "Data Diskを認識しました.\n".
#define CUTTER_RECOGNISED_UTF8 "\xE3\x82\x92\xE8\xAA\x8D\xE8\xAD\x98\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x97\xE3\x81\x9F.\n"
#define CUTTER_RECOGNISED_SJIS "\x82\xF0\x94\x46\x8E\xAF\x82\xB5\x82\xDC\x82\xB5\x82\xBD.\n"
constexpr host::ConsoleText kProgramDiskRecognisedText = {
    "Program Disk" CUTTER_RECOGNISED_UTF8,
    "Program Disk" CUTTER_RECOGNISED_SJIS,
};
constexpr host::ConsoleText kDataDiskRecognisedText = {
    "Data Disk" CUTTER_RECOGNISED_UTF8,
    "Data Disk" CUTTER_RECOGNISED_SJIS,
};
#undef CUTTER_RECOGNISED_UTF8
#undef CUTTER_RECOGNISED_SJIS

// Standard output, once per file cut, with the file's name for %s.
constexpr char kCuttingFormat[] = "cutting ... %s\n";

// Standard error. Damage to a recognised disk, output that could not be
// written and an image that could not be read; %s is the file's name, then
// the system's reason where one is given.
constexpr char kSkippedFormat[] = "d88cut: warning: %s not written: its first sector cannot be read\n";
constexpr char kIncompleteFormat[] =
    "d88cut: warning: %s is incomplete: only the first %ld of its %ld bytes could be read\n";
constexpr char kWriteFailedFormat[] = "d88cut: error: cannot write %s: %s\n";
constexpr char kIsTheImageReason[] = "it is the image being read";
constexpr char kReadFailedFormat[] = "d88cut: error: cannot read %s: %s\n";
constexpr char kStandardOutputName[] = "standard output";

}  // namespace cutter

#endif
