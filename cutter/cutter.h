// The command's entry: checks the command line, opens the image, walks its
// disks in file order and cuts every recognised one.
#ifndef CUTTER_CUTTER_H
#define CUTTER_CUTTER_H

namespace cutter {

// Runs the whole command and returns the exit status: 0 after the walk over
// the disks (or for --help and --version), 1 for a wrong command line, an
// image that cannot be opened or read, an output file that could not be
// written, or a standard output that failed. The words are UTF-8.
int runCommand(int argc, char* argv[]);

}  // namespace cutter

#endif
