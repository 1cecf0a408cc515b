#pragma once

#include "options.h"

#include "host/db/appconnection.h"

// Opens the host database the options name: the server given by --odbc, or the database file.
void openHostDatabase(host::AppConnection &connection, const Options &options);
