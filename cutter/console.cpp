#include "cutter/console.h"

#include <cstdarg>
#include <cstdio>

#include "cutter/messages.h"

namespace cutter {

namespace {

// Why standard output failed, kept from the moment it did; empty while it
// has not. Once it has, nothing more is written to it: its reader is gone
// or its device is full.
char outputFailure[256];

// Room for a line with a path in it; a longer path is cut short.
char line[8192];

bool outputFailed() { return outputFailure[0] != '\0'; }

void noteOutputResult(const char* reason) {
    if (reason != nullptr && !outputFailed()) {
        std::snprintf(outputFailure, sizeof outputFailure, "%s", reason[0] != '\0' ? reason : "?");
    }
}

void write(Stream stream, const host::ConsoleText& text) {
    if (stream == Stream::kOut) {
        if (!outputFailed()) {
            noteOutputResult(host::writeText(Stream::kOut, text));
        }
        return;
    }
    if (!outputFailed()) {
        noteOutputResult(host::flush(Stream::kOut));
    }
    // A failure of standard error itself has nowhere to be told.
    host::writeText(Stream::kErr, text);
}

}  // namespace

void beginConsole() { outputFailure[0] = '\0'; }

void print(Stream stream, const host::ConsoleText& text) { write(stream, text); }

void printLine(Stream stream, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length >= static_cast<int>(sizeof line)) {
        line[sizeof line - 2] = '\n';  // still a whole line
    }
    write(stream, host::ConsoleText{line, nullptr});
}

bool finishConsole() {
    if (!outputFailed()) {
        noteOutputResult(host::flush(Stream::kOut));
    }
    if (!outputFailed()) {
        return true;
    }
    printLine(Stream::kErr, kWriteFailedFormat, kStandardOutputName, outputFailure);
    return false;
}

}  // namespace cutter
