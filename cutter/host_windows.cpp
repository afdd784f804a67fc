// The host layer on Windows. Paths arrive as UTF-8 and reach the system as
// UTF-16 through its wide-character functions, so that any name opens, and
// text for a console goes to it as UTF-16, so that it reads right on any
// code page and font.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstring>

#include "cutter/host.h"

namespace cutter {
namespace host {

namespace {

// Longest path handled, in UTF-16 units, with room for the terminating NUL.
constexpr int kMaxWidePath = 32768;

// `utf8` as a NUL-terminated UTF-16 string in `wide`; false when it is not
// valid UTF-8 or does not fit.
bool toWide(const char* utf8, wchar_t* wide, int capacity) {
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, wide, capacity);
    return length > 0;
}

FileIdentity identityOf(HANDLE handle) {
    FileIdentity identity;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(handle, &info)) {
        identity.known = true;
        identity.volume = info.dwVolumeSerialNumber;
        identity.file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    }
    return identity;
}

// The system's reasons, in the words the C runtime uses for them, so that a
// message reads the same whichever layer failed.
const char* reasonFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return std::strerror(ENOENT);
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return std::strerror(EACCES);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::strerror(ENOSPC);
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return std::strerror(EEXIST);
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return std::strerror(EINVAL);
        case ERROR_FILENAME_EXCED_RANGE:
            return std::strerror(ENAMETOOLONG);
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return std::strerror(ENOMEM);
        default:
            break;
    }
    static char text[32];
    std::snprintf(text, sizeof text, "system error %lu", static_cast<unsigned long>(error));
    return text;
}

constexpr int kTempAttempts = 100;

// Creates a new file under a name beside `name` that no file has yet and
// fills `temp` with it. The name starts with a dot and the output's name,
// so that one left behind by a killed run is recognisable.
HANDLE createTemporary(const wchar_t* name, wchar_t* temp, int capacity) {
    const wchar_t* base = name;
    for (const wchar_t* p = name; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/' || *p == L':') base = p + 1;
    }
    static unsigned long counter = 0;
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        const unsigned long suffix =
            (GetTickCount() ^ (GetCurrentProcessId() << 12)) + ++counter * 7919;
        const int length = _snwprintf(temp, static_cast<std::size_t>(capacity), L"%.*ls.%ls.%06lx",
                                      static_cast<int>(base - name), name, base, suffix & 0xFFFFFFul);
        if (length < 0 || length >= capacity) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return INVALID_HANDLE_VALUE;
        }
        const HANDLE handle = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return handle;
        }
    }
    SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
}

// Writes all of `bytes`; 0, or the error that stopped it.
DWORD writeAll(HANDLE handle, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size < 0x40000000u ? static_cast<DWORD>(size) : 0x40000000u;
        DWORD wrote = 0;
        if (!WriteFile(handle, bytes, chunk, &wrote, nullptr)) {
            return GetLastError();
        }
        bytes += wrote;
        size -= wrote;
    }
    return 0;
}

std::FILE* streamOf(Stream stream) { return stream == Stream::kOut ? stdout : stderr; }

// Why a console stream failed. A pipe whose reader has gone fails with a
// system error the C runtime has no errno for (it says "Invalid argument");
// it is a broken pipe.
const char* streamFailure() {
    if (_doserrno == ERROR_NO_DATA || _doserrno == ERROR_BROKEN_PIPE ||
        _doserrno == ERROR_PIPE_NOT_CONNECTED) {
        return std::strerror(EPIPE);
    }
    return std::strerror(errno);
}

wchar_t widePath[kMaxWidePath];
wchar_t wideTemp[kMaxWidePath];

// Per stream: whether it is a console, which is written in UTF-16 through
// the console's own output. Anything else (a file, a pipe) gets bytes
// through stdio, which ends each line with CR LF.
bool console[2] = {false, false};

bool isConsole(std::FILE* stream) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

// A line of text in UTF-16, and the same for the console with each line
// feed as CR LF. A line holds at most the console module's 8 KiB of UTF-8.
constexpr int kMaxLineUnits = 8192;
wchar_t wideLine[kMaxLineUnits + 1];
wchar_t consoleLine[2 * kMaxLineUnits + 1];

const char* writeConsole(std::FILE* stream, const char* utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wideLine, kMaxLineUnits + 1);
    if (units <= 0) {
        return reasonFor(GetLastError());
    }
    int length = 0;
    for (int i = 0; i + 1 < units; ++i) {
        if (wideLine[i] == L'\n') {
            consoleLine[length++] = L'\r';
        }
        consoleLine[length++] = wideLine[i];
    }
    // Whatever went through stdio on this stream comes first.
    std::fflush(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    for (int done = 0; done < length;) {
        DWORD wrote = 0;
        if (!WriteConsoleW(handle, consoleLine + done, static_cast<DWORD>(length - done), &wrote, nullptr) ||
            wrote == 0) {
            return reasonFor(GetLastError());
        }
        done += static_cast<int>(wrote);
    }
    return nullptr;
}

// Text that is not ASCII and has no Shift_JIS form (a path given to the
// command) goes to a file or pipe in the ANSI code page, as the command line
// once arrived in it.
char ansiLine[3 * kMaxLineUnits + 1];

const char* inAnsiCodePage(const char* utf8) {
    bool ascii = true;
    for (const char* p = utf8; *p != '\0'; ++p) {
        ascii = ascii && static_cast<unsigned char>(*p) < 0x80;
    }
    if (ascii || MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wideLine, kMaxLineUnits + 1) <= 0 ||
        WideCharToMultiByte(CP_ACP, 0, wideLine, -1, ansiLine, sizeof ansiLine, nullptr, nullptr) <= 0) {
        return utf8;
    }
    return ansiLine;
}

}  // namespace

const char* const kHelpSwitch = "/?";

void beginRun() {
    console[0] = isConsole(stdout);
    console[1] = isConsole(stderr);
}

char** utf8Arguments(int argc, wchar_t* argv[]) {
    // The command line holds at most 32,767 UTF-16 units; each takes at most
    // three bytes of UTF-8.
    static char bytes[3 * 32768 + 1];
    static char* words[16384 + 1];
    int used = 0;
    int count = 0;
    for (; count < argc && count < 16384; ++count) {
        const int length = WideCharToMultiByte(CP_UTF8, 0, argv[count], -1, bytes + used,
                                               static_cast<int>(sizeof bytes) - used, nullptr, nullptr);
        if (length <= 0) {
            break;
        }
        words[count] = bytes + used;
        used += length;
    }
    words[count] = nullptr;
    return words;
}

std::FILE* openImage(const char* path, FileIdentity* identity) {
    if (!toWide(path, widePath, kMaxWidePath)) {
        return nullptr;
    }
    // A directory does not open without backup semantics; what opens is
    // then asked what it is, and only a file on a disk is kept.
    const HANDLE handle = CreateFileW(widePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (file == nullptr) {
        _close(fd);  // closes the handle too
        return nullptr;
    }
    *identity = identityOf(handle);
    return file;
}

FileIdentity identifyEntry(const char* name) {
    if (!toWide(name, widePath, kMaxWidePath)) {
        return FileIdentity{};
    }
    // No access rights are asked for: the handle only serves to ask which
    // file it is, whoever else has it open. A link is opened as itself.
    const HANDLE handle =
        CreateFileW(widePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return FileIdentity{};
    }
    const FileIdentity identity = identityOf(handle);
    CloseHandle(handle);
    return identity;
}

const char* replaceFile(const char* name, const std::uint8_t* bytes, std::size_t size) {
    if (!toWide(name, widePath, kMaxWidePath)) {
        return std::strerror(EINVAL);
    }
    const HANDLE handle = createTemporary(widePath, wideTemp, kMaxWidePath);
    if (handle == INVALID_HANDLE_VALUE) {
        return reasonFor(GetLastError());
    }
    DWORD error = writeAll(handle, bytes, size);
    if (!CloseHandle(handle) && error == 0) {
        error = GetLastError();
    }
    if (error == 0 && !MoveFileExW(wideTemp, widePath, MOVEFILE_REPLACE_EXISTING)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileW(wideTemp);
        return reasonFor(error);
    }
    return nullptr;
}

const char* writeText(Stream stream, const ConsoleText& text) {
    std::FILE* file = streamOf(stream);
    if (console[stream == Stream::kOut ? 0 : 1]) {
        return writeConsole(file, text.utf8);
    }
    const char* bytes = text.shiftJis != nullptr ? text.shiftJis : inAnsiCodePage(text.utf8);
    return std::fputs(bytes, file) == EOF ? streamFailure() : nullptr;
}

const char* flush(Stream stream) {
    return std::fflush(streamOf(stream)) == EOF ? streamFailure() : nullptr;
}

}  // namespace host
}  // namespace cutter
