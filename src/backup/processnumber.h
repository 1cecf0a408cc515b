#pragma once

#include <string>

namespace backup {

// The number (shown as the process name) and the id of a new count process.
struct ProcessNumber
{
    std::string number;
    long id = 0;
};

// The numbering query: the server date as yyyymmdd and the daily counter padded to four
// digits, with the highest process id. The first pass also starts the counter again at 1 when
// the latest process is of another day.
std::string numberingSql(bool firstPass);

// Allocates the next free number of the day from the numbering row (fbillid = -1), skipping
// numbers already taken. Nothing is reserved: the backup batch moves the counter on, so call it
// inside the backup's transaction. Throws HostError when the database fails.
ProcessNumber allocateProcessNumber();

} // namespace backup
