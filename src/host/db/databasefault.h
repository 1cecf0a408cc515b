#pragma once

#include <exception>

namespace host {

// Failures of the database itself rather than of the statement: the same text may succeed
// later or on another database, and what it carried was not at fault.
enum class DatabaseFault
{
    None,
    Busy,        // the wait for another connection's lock ran out
    ReadOnly,    // the database may not be written
    Full,        // the disk or the database's own limit is full
    Damaged,     // the file is no database or not a whole one
    Unavailable, // the file cannot be opened, read or written (an I/O error)
    Moved,       // the file was deleted or replaced while open: writes since then are lost
    Linked,      // the file has another name: writes through two names would damage it
    Changed      // another program kept changing the file while it was read
};

DatabaseFault databaseFault(const std::exception &error);

} // namespace host
