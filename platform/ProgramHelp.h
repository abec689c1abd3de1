#pragma once
// The "--help" option every program of the suite answers the same way.

// True when the only argument is "--help" or "-h"; the usage text has then gone to standard
// output, and the program ends with status 0.
bool printHelpIfAsked(int argc, char** argv, const char* usage);
