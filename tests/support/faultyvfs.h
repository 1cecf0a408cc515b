#pragma once

#include <functional>
#include <string>

// A file system for SQLite over the system's own that fails when asked, as SQLite's own tests
// make I/O fail: the Nth write, the Nth sync, or every write that would grow a file from the Nth
// such write on (a disk that is full); or that lets something happen to the files just before
// the Nth read or write, as another program does. Counting starts when the fault is armed. A
// database opened by uri() goes through it; one process has one fault at a time. Nothing is synced
// to the disk itself: a test needs no durability.
namespace faultyvfs {

enum class Fault
{
    Write, // the Nth write fails with an I/O error, later ones succeed
    Sync,  // the Nth sync fails with an I/O error, later ones succeed
    Full   // from the Nth write that grows a file on, every such write finds the disk full
};

// The URI that opens the database file through the faulty file system.
std::string uri(const std::string &file);

void arm(Fault fault, int n);
// The event happens just before the Nth read or write, which then goes on as it would.
void armEvent(int n, std::function<void()> event);
void disarm();
// Whether the armed fault came about.
bool fired();
// The operations counted so far for the armed fault or event.
int counted();

} // namespace faultyvfs
