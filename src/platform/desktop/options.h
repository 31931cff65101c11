// newyear's command line (newyear(6)): its options read into Options, one
// line of usage for a bad one, and the help.
#pragma once

#include "demo/platform.h"

// Reads the command line into options, over what the caller set there.
// Returns -1 to go on, or the status to exit with at once: after the help
// or the version, or a line of usage on standard error.
int readOptions(int argc, char** argv, Options& options);
