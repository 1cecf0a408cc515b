#pragma once

#include "options.h"

// `stockcheck init-db [--rows N] [--force]`: creates the host schema and the sample data in the
// database file. Returns the exit status.
int runInitDb(const Options &options);

// Creates the default database with the demo company when its file does not exist yet or holds
// no tables, as the host program does on its first run; a database named with --db must exist.
// False (with the reason on standard error) when there is no database to work on.
bool ensureDatabase(const Options &options);
