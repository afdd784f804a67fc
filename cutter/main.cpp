#include "cutter/cutter.h"

int main(int argc, char* argv[]) { return cutter::runCommand(argc, argv); }
