// Settings of the end-to-end suite, given on its command line so that the
// same cases run against any build of the command:
//   --eol=lf|crlf       the line ending its console streams write
//   --usage-name=NAME   the invocation name its usage text shows
//                       (default: the command's last word)
//   --version=VERSION   the version it reports
//   --windows           the build under test is the Windows one: system
//                       reasons come from its C runtime, and cases that need
//                       POSIX-only fixtures are skipped
//   -- WORD...          how to start it, one argument per word (for example
//                       -- /usr/lib/wine/wine64 "/build dir/d88cut.exe")
#ifndef TESTS_SUPPORT_E2E_H
#define TESTS_SUPPORT_E2E_H

#include <string>
#include <vector>

namespace fixture {

struct E2eConfig {
    std::vector<std::string> command;
    std::string eol = "\n";
    std::string usageName;
    std::string version;
    bool windows = false;
};

E2eConfig& e2eConfig();
// Takes the settings out of argv (after GoogleTest has taken its own);
// false with a message on standard error when one is wrong or missing.
bool parseE2eArgs(int argc, char** argv);

}  // namespace fixture

#endif
