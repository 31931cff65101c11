// newyear's command line (newyear(6)): its options read into Options, one
// line of usage for a bad one, and the help.
#pragma once

#include "demo/platform.h"
#include "text/greeting.h"

// Reads the command line into options, over what the caller set there; the
// words of --text go into greeting, which options then points at. Returns
// -1 to go on, or the status to exit with at once: after the help or the
// version, or a line on standard error that says what is wrong.
int readOptions(int argc, char** argv, Options& options, Greeting& greeting);
