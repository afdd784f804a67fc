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
    // Names of the regular files, directories and links in it, sorted.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

struct RunResult {
    int status = -1;  // exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

// Runs `command` (its words: the program, then any words the program needs
// before its own arguments) followed by `args`, in directory `cwd`, with no
// standard input.
RunResult run(const std::vector<std::string>& command, const std::vector<std::string>& args,
              const std::string& cwd);

// Splits a command line on spaces.
std::vector<std::string> splitWords(const std::string& line);

}  // namespace fixture

#endif
