#include "tests/support/run.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace fixture {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "d88cut-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string findProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

namespace {

// In the child, after fork: everything set up, then the program.
[[noreturn]] void startChild(std::vector<char*>& argv, const std::string& cwd, const RunOptions& options,
                             int outWrite, int errWrite, int terminal) {
    setpgid(0, 0);
    signal(SIGPIPE, SIG_DFL);
    for (const std::string& change : options.environment) {
        const std::size_t equals = change.find('=');
        if (equals == std::string::npos) {
            unsetenv(change.c_str());
        } else {
            setenv(change.substr(0, equals).c_str(), change.c_str() + equals + 1, 1);
        }
    }
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    if (options.out == Output::kDevFull) {
        const int full = open("/dev/full", O_WRONLY);
        dup2(full, 1);
    } else {
        dup2(options.out == Output::kTerminal ? terminal : outWrite, 1);
    }
    dup2(options.err == Output::kTerminal ? terminal : errWrite, 2);
    if (terminal >= 0) close(terminal);
    if (options.fileSizeLimit >= 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {static_cast<rlim_t>(options.fileSizeLimit),
                              static_cast<rlim_t>(options.fileSizeLimit)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    }
    if (chdir(cwd.c_str()) != 0) _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
}

}  // namespace

RunResult run(const std::vector<std::string>& command, const std::vector<std::string>& args,
              const std::string& cwd, const RunOptions& options) {
    std::vector<std::string> words = command;
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    if (options.out == Output::kClosedPipe) {
        close(outPipe[0]);  // the reader is gone before the child starts
        outPipe[0] = -1;
    }
    int master = -1, terminal = -1;
    if (options.out == Output::kTerminal || options.err == Output::kTerminal) {
        if (openpty(&master, &terminal, nullptr, nullptr, nullptr) != 0) {
            throw std::runtime_error("openpty failed");
        }
        fcntl(master, F_SETFD, FD_CLOEXEC);
    }
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) startChild(argv, cwd, options, outPipe[1], errPipe[1], terminal);
    setpgid(pid, pid);
    close(outPipe[1]);
    close(errPipe[1]);
    if (terminal >= 0) close(terminal);

    // The run ends when the child exits, not when its pipes close: a child
    // such as Wine may leave helper processes behind that hold them open.
    RunResult result;
    pollfd fds[3] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}, {master, POLLIN, 0}};
    std::string* sinks[3] = {&result.out, &result.err, &result.terminal};
    auto readAvailable = [&](int timeoutMs) {
        if (poll(fds, 3, timeoutMs) <= 0) return false;
        bool any = false;
        for (int i = 0; i < 3; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char chunk[4096];
            const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
                any = true;
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
        return any;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
    int status = 0;
    for (;;) {
        readAvailable(5);
        if (waitpid(pid, &status, WNOHANG) == pid) break;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
    }
    // What the child wrote before it exited is all in the pipes now.
    while (readAvailable(0)) {
    }
    for (pollfd& fd : fds) {
        if (fd.fd >= 0) close(fd.fd);
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string terminalText(const std::string& shown) {
    std::string text;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char ch = shown[i];
        if (ch == '\x1B' && i + 1 < shown.size() && shown[i + 1] == '[') {
            // CSI: parameters and intermediates, then one final byte.
            i += 2;
            while (i < shown.size() && (shown[i] < 0x40 || shown[i] > 0x7E)) ++i;
        } else if (ch == '\x1B' && i + 1 < shown.size() && shown[i + 1] == ']') {
            // OSC (a window title): up to BEL or ST.
            i += 2;
            while (i < shown.size() && shown[i] != '\a' && !(shown[i] == '\x1B' && i + 1 < shown.size())) ++i;
            if (i < shown.size() && shown[i] == '\x1B') ++i;
        } else if (ch == '\x1B') {
            ++i;  // a two-byte escape
        } else if (ch != '\r') {
            text += ch;
        }
    }
    return text;
}

}  // namespace fixture
