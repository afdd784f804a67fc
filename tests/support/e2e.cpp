#include "tests/support/e2e.h"

#include <cstdio>
#include <cstring>

namespace fixture {

E2eConfig& e2eConfig() {
    static E2eConfig config;
    return config;
}

bool parseE2eArgs(int argc, char** argv) {
    E2eConfig& config = e2eConfig();
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* key) -> const char* {
            const std::size_t length = std::strlen(key);
            return arg.compare(0, length, key) == 0 ? argv[i] + length : nullptr;
        };
        if (arg == "--") {
            ++i;
            break;
        } else if (const char* v = value("--eol=")) {
            if (std::strcmp(v, "lf") == 0) {
                config.eol = "\n";
            } else if (std::strcmp(v, "crlf") == 0) {
                config.eol = "\r\n";
            } else {
                std::fprintf(stderr, "--eol takes lf or crlf\n");
                return false;
            }
        } else if (const char* v = value("--usage-name=")) {
            config.usageName = v;
        } else if (const char* v = value("--version=")) {
            config.version = v;
        } else if (arg == "--windows") {
            config.windows = true;
        } else {
            std::fprintf(stderr, "unknown argument: %s\n", argv[i]);
            return false;
        }
    }
    config.command.assign(argv + i, argv + argc);
    if (config.version.empty()) {
        std::fprintf(stderr, "--version=... is required\n");
        return false;
    }
    if (config.command.empty()) {
        std::fprintf(stderr, "the command to test is required after --\n");
        return false;
    }
    if (config.usageName.empty()) {
        config.usageName = config.command.back();
    }
    return true;
}

}  // namespace fixture
