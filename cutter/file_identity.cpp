#include "cutter/file_identity.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace cutter {

#ifdef _WIN32

FileIdentity identifyFile(const char* path) {
    FileIdentity identity;
    // No access rights are asked for: the handle serves only to ask which
    // file it is, whoever else has the file open.
    const HANDLE handle =
        CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return identity;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(handle, &info)) {
        identity.known = true;
        identity.volume = info.dwVolumeSerialNumber;
        identity.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    CloseHandle(handle);
    return identity;
}

#else

FileIdentity identifyFile(const char* path) {
    FileIdentity identity;
    struct stat info;
    if (stat(path, &info) == 0) {
        identity.known = true;
        identity.volume = static_cast<std::uint64_t>(info.st_dev);
        identity.file = static_cast<std::uint64_t>(info.st_ino);
    }
    return identity;
}

#endif

}  // namespace cutter
