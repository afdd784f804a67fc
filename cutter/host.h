// Everything the command does that differs between POSIX and Windows, behind
// one narrow interface: opening the image, telling files apart, replacing an
// output file, and writing text to the console streams. host_posix.cpp and
// host_windows.cpp implement it; the build picks one. Paths and texts cross
// this interface as UTF-8; only the implementations convert.
#ifndef CUTTER_HOST_H
#define CUTTER_HOST_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace cutter {
namespace host {

// Readies the process for a run: a reader of standard output that goes away
// must not end it before every file is written, and each console stream
// learns what its reader needs.
void beginRun();

// The host's own way of asking a command for help, besides -h and --help:
// "/?" on Windows; null where there is none.
extern const char* const kHelpSwitch;

// Windows only: the command line's words, which arrive in UTF-16 (whatever
// the ANSI code page could hold), as UTF-8.
char** utf8Arguments(int argc, wchar_t* argv[]);

// ------------------------------------------------------------------ files

// Which file something is, told apart by the file system rather than by a
// path's spelling.
struct FileIdentity {
    bool known = false;  // false when there is no such file or it cannot be asked
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
};

inline bool sameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.file == b.file;
}

// Opens the file at `path` for binary reading, if it is a regular file, and
// tells which file it is. Null when it cannot be opened or is anything else
// (a directory, a FIFO, a socket, a device); never waits for a writer.
std::FILE* openImage(const char* path, FileIdentity* identity);

// Which file the directory entry `name` is. A link is not followed: the
// answer is the link itself.
FileIdentity identifyEntry(const char* name);

// Replaces the directory entry `name` with a new regular file that holds
// `size` bytes: the bytes go to a new temporary file beside it, which then
// takes the name in one step. Whatever stood at the name before (a file, a
// link, a FIFO) is replaced, never opened or followed; on any failure it is
// left as it was and the temporary file is gone. Returns null on success,
// else the system's reason.
const char* replaceFile(const char* name, const std::uint8_t* bytes, std::size_t size);

// ---------------------------------------------------------------- console

enum class Stream { kOut, kErr };

// A text for the console, in the forms its readers need.
struct ConsoleText {
    const char* utf8;       // the text as UTF-8
    const char* shiftJis;   // its Shift_JIS bytes; null when it is ASCII
                            // around names and paths given to the command
};

// Writes `text` (whole lines) to the stream in the form the stream's reader
// needs. Returns null, or the system's reason when the write failed.
const char* writeText(Stream stream, const ConsoleText& text);
// Hands what the stream buffers to the system; null or the reason it failed.
const char* flush(Stream stream);

}  // namespace host
}  // namespace cutter

#endif
