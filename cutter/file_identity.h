// Which file a path names, told apart from any other by the file system
// rather than by the path's spelling: a link, a second hard link or another
// way of writing the path all name the same file. The command uses it so
// that an output file never replaces the image it is reading.
//
// The only code of the tool that differs between hosts.
#ifndef CUTTER_FILE_IDENTITY_H
#define CUTTER_FILE_IDENTITY_H

#include <cstdint>

namespace cutter {

struct FileIdentity {
    bool known = false;  // false when the file does not exist or cannot be asked
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
};

FileIdentity identifyFile(const char* path);

inline bool sameFile(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.file == b.file;
}

}  // namespace cutter

#endif
