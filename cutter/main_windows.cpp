// The Windows entry: the command line arrives in UTF-16, so a file name in
// any script reaches the command whole.
#include "cutter/cutter.h"
#include "cutter/host.h"

int wmain(int argc, wchar_t* argv[]) { return cutter::runCommand(argc, cutter::host::utf8Arguments(argc, argv)); }
