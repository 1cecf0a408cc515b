#pragma once

#include "host/core/hosterror.h"
#include "host/db/backends/nameholds.h"

#include <memory>
#include <string>

// The life of an import run's staging table in the database: claimed under a name no other run
// holds, held while the run goes on, dropped when the run ends, and what runs that ended
// without dropping theirs left removed.
namespace StagingTable {

// Every name of the run's start second is held by another run.
class NameTaken : public host::HostError
{
public:
    using HostError::HostError;
};

// Where the database cannot tell which tables running imports hold (a server), a run still going
// is not disturbed: only tables of runs started longer ago than this (in days) count as left
// behind.
constexpr double kLeftoverAge = 0.25;

// The run's table, held while this lives.
struct Claim
{
    std::string name;
    std::unique_ptr<host::NameHold> hold;
};

// Creates the run's table under name(userId, startTime), or that name followed by "_2", "_3",
// ... when another run holds it, and holds it. Throws HostError when the database refuses or
// fails, NameTaken when every name is held.
Claim create(long userId, double startTime);

// Drops the staging tables that no running import holds, whoever's runs left them; where the
// database cannot tell, the user's tables of runs that started more than kLeftoverAge before
// now. A table that cannot be dropped now (a full disk) is dropped by a later run; only a
// database still busy after the wait is thrown, as the run could not write either.
void dropLeftovers(long userId, double now);

// Drops the table when it exists; never throws.
void drop(const std::string &tableName) noexcept;

} // namespace StagingTable
