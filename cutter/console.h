// Everything the command prints goes through here. Lines keep their order
// on a console that shows both streams (standard output is handed to the
// system before each line on standard error), and a standard output that
// fails is remembered, so the run can end with status 1 and say why.
#ifndef CUTTER_CONSOLE_H
#define CUTTER_CONSOLE_H

#include "cutter/host.h"

namespace cutter {

using host::Stream;

// Forgets the failure of an earlier run (the command may run more than
// once in one process, as under the fuzzer).
void beginConsole();

// A fixed text.
void print(Stream stream, const host::ConsoleText& text);

// A line made from `format`, whose arguments are names, paths and numbers.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
void printLine(Stream stream, const char* format, ...);

// Hands standard output to the system. When it failed, now or earlier,
// says so on standard error and returns false.
bool finishConsole();

}  // namespace cutter

#endif
