#pragma once

#include "options.h"

#include <iosfwd>

// The sql command: runs one batch read from in against the host database and writes the rows of
// its result as tab-separated lines with a heading line. Returns the exit status.
int runSqlCommand(const Options &options, std::istream &in, std::ostream &out, std::ostream &err);
