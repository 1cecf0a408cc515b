#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

namespace host {

// A name an operation holds while it runs; released when destroyed.
class NameHold
{
public:
    virtual ~NameHold() = default;
};

// The names that running operations of the programs on one database file hold, so that one
// program can tell whether what another left in the database (a work table) still belongs to an
// operation under way. Held as a byte lock each on a file beside the database
// ("<database>-holds"): the system releases a program's locks when it ends, however it ends, so a
// name no program holds belongs to no running operation. Programs on the same machine see each
// other's holds. A database in memory is one connection's alone: its holds are kept here.
class NameHolds
{
public:
    // databaseFile: the database's file, or empty for a database in memory. Beside a database
    // that may only be read, nothing is made: it holds no tables to be dropped.
    NameHolds(std::string databaseFile, bool readOnly);

    // Holds the name until the hold is destroyed; nullptr when another operation holds it. Where
    // no hold can be taken (the file beside the database cannot be made), a hold that keeps
    // nothing.
    std::unique_ptr<NameHold> hold(const std::string &name);
    // Whether an operation holds the name; nothing when it cannot be told.
    std::optional<bool> isHeld(const std::string &name) const;
    // The file beside the database that holds the names; empty for a database in memory.
    const std::string &file() const { return m_lockFile; }

private:
    std::string m_lockFile;
    bool m_readOnly;
    std::shared_ptr<std::set<std::string>> m_inMemory;
};

} // namespace host
