// Running the built command end to end: a scratch directory per case, and a
// child process whose exit status, standard output and standard error are
// captured whole.
#ifndef TESTS_SUPPORT_RUN_H
#define TESTS_SUPPORT_RUN_H

#include <string>
#include <vector>

namespace fixture {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names of everything in it, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

// Where the child's standard output or standard error goes.
enum class Output {
    kPipe,        // captured
    kTerminal,    // a pseudo-terminal, captured; both streams share one
    kDevFull,     // /dev/full: every write fails with ENOSPC
    kClosedPipe,  // a pipe whose reader has gone: every write fails with EPIPE
};

struct RunOptions {
    Output out = Output::kPipe;
    Output err = Output::kPipe;  // kPipe or kTerminal
    // Changes to the child's environment: "NAME=VALUE" sets, "NAME" unsets.
    std::vector<std::string> environment;
    // A file-size limit (RLIMIT_FSIZE) in bytes for the child, with SIGXFSZ
    // ignored so that a write past it fails with EFBIG; negative for none.
    long fileSizeLimit = -1;
    // The child is killed after this long.
    int timeoutSeconds = 30;
};

struct RunResult {
    int status = -1;  // exit status, or -1 when the child did not exit normally
    bool timedOut = false;
    std::string out;
    std::string err;
    std::string terminal;  // what the streams on the pseudo-terminal showed
};

// Terminal output as text: escape sequences (a console may move the cursor
// between characters) and carriage returns removed.
std::string terminalText(const std::string& shown);

// Runs `command` (its words: the program, then any words the program needs
// before its own arguments) followed by `args`, in directory `cwd`, with no
// standard input, in a process group of its own.
RunResult run(const std::vector<std::string>& command, const std::vector<std::string>& args,
              const std::string& cwd, const RunOptions& options = {});

// The full path of `program` found on PATH, or empty.
std::string findProgram(const std::string& program);

}  // namespace fixture

#endif
