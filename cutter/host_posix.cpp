// The host layer on POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cutter/host.h"

namespace cutter {
namespace host {

namespace {

FileIdentity identityOf(const struct stat& info) {
    FileIdentity identity;
    identity.known = true;
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.file = static_cast<std::uint64_t>(info.st_ino);
    return identity;
}

// Room for the longest temporary name: a directory part, a dot, the name,
// a dot and the suffix.
constexpr std::size_t kMaxTempName = 4096;
constexpr int kTempAttempts = 100;

// Fills `temp` with a name beside `name` that no file has yet and creates
// that file for writing. The name starts with a dot and the output's name,
// so that the rare one left behind by a killed run is hidden and
// recognisable. Returns the descriptor, or -1 with errno set.
int createTemporary(const char* name, char (&temp)[kMaxTempName]) {
    const char* slash = std::strrchr(name, '/');
    const std::size_t dirLength = slash != nullptr ? static_cast<std::size_t>(slash - name) + 1 : 0;
    static unsigned long process = 0;
    static unsigned long counter = 0;
    if (process == 0) {
        process = static_cast<unsigned long>(getpid()) << 20;
    }
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const unsigned long suffix = (static_cast<unsigned long>(now.tv_nsec) ^ process) + ++counter * 7919;
        const int length = std::snprintf(temp, sizeof temp, "%.*s.%s.%06lx", static_cast<int>(dirLength),
                                          name, name + dirLength, suffix & 0xFFFFFFul);
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof temp) {
            errno = ENAMETOOLONG;
            return -1;
        }
        // O_EXCL: never an existing name, and never through a link. The mode
        // is that of any new file, less the umask.
        const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Writes all of `bytes`; 0, or the error that stopped it.
int writeAll(int fd, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = write(fd, bytes, size);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

std::FILE* streamOf(Stream stream) { return stream == Stream::kOut ? stdout : stderr; }

// Whether a locale name's codeset part (after the dot, before any
// modifier; the whole name when it has no dot, as "UTF-8" alone is used)
// names UTF-8, in any of its spellings: UTF-8, utf8, Utf-8 ...
bool namesUtf8(const char* locale) {
    const char* dot = std::strchr(locale, '.');
    const char* codeset = dot != nullptr ? dot + 1 : locale;
    char normal[8];
    std::size_t length = 0;
    for (const char* p = codeset; *p != '\0' && *p != '@'; ++p) {
        if (*p == '-' || *p == '_') {
            continue;
        }
        if (length + 1 >= sizeof normal) {
            return false;
        }
        normal[length++] = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
    normal[length] = '\0';
    return std::strcmp(normal, "utf8") == 0;
}

// Whether the locale the environment names uses UTF-8: the first of LC_ALL,
// LC_CTYPE and LANG that is set and not empty decides, as POSIX orders them.
// It is asked of the environment, not of setlocale, so that a UTF-8 locale
// that is not installed on the machine still counts: the terminal shows
// UTF-8 all the same.
bool localeIsUtf8() {
    static const char* const kVariables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char* variable : kVariables) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return namesUtf8(value);
        }
    }
    return false;
}

// Per stream: whether its reader is a person at a UTF-8 terminal. Everything
// else (a pipe, a file, a terminal in any other locale) gets the Shift_JIS
// bytes, which scripts and Japanese terminals expect.
bool utf8Terminal[2] = {false, false};

}  // namespace

const char* const kHelpSwitch = nullptr;

void beginRun() {
    // A closed pipe then fails the write with EPIPE, which the command
    // reports, instead of killing the process halfway through the cut.
    signal(SIGPIPE, SIG_IGN);
    const bool utf8 = localeIsUtf8();
    utf8Terminal[0] = utf8 && isatty(STDOUT_FILENO) == 1;
    utf8Terminal[1] = utf8 && isatty(STDERR_FILENO) == 1;
}

std::FILE* openImage(const char* path, FileIdentity* identity) {
    // Not blocking: opening a FIFO would otherwise wait for a writer before
    // fstat could say what it is.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    std::FILE* file = nullptr;
    if (flags != -1 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
        file = fdopen(fd, "rb");
    }
    if (file == nullptr) {
        close(fd);
        return nullptr;
    }
    *identity = identityOf(info);
    return file;
}

FileIdentity identifyEntry(const char* name) {
    struct stat info;
    return lstat(name, &info) == 0 ? identityOf(info) : FileIdentity{};
}

const char* replaceFile(const char* name, const std::uint8_t* bytes, std::size_t size) {
    char temp[kMaxTempName];
    const int fd = createTemporary(name, temp);
    if (fd < 0) {
        return std::strerror(errno);
    }
    int error = writeAll(fd, bytes, size);
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && rename(temp, name) != 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temp);
        return std::strerror(error);
    }
    return nullptr;
}

const char* writeText(Stream stream, const ConsoleText& text) {
    const bool utf8 = utf8Terminal[stream == Stream::kOut ? 0 : 1] || text.shiftJis == nullptr;
    return std::fputs(utf8 ? text.utf8 : text.shiftJis, streamOf(stream)) == EOF ? std::strerror(errno)
                                                                                 : nullptr;
}

const char* flush(Stream stream) {
    return std::fflush(streamOf(stream)) == EOF ? std::strerror(errno) : nullptr;
}

}  // namespace host
}  // namespace cutter
