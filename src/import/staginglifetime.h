#pragma once

#include "host/core/hosterror.h"

#include <string>

// The life of an import run's staging table in the database: claimed under a name no other run
// holds, dropped when the run ends, and what runs of the user killed earlier left removed.
namespace StagingTable {

// Every name of the run's start second is held by another run.
class NameTaken : public host::HostError
{
public:
    using HostError::HostError;
};

// A run still going is not disturbed: only tables of runs started longer ago than this (in
// days) count as left behind.
constexpr double kLeftoverAge = 0.25;

// Creates the run's table under name(userId, startTime), or that name followed by "_2", "_3",
// ... when another run holds it, and returns the name. Throws HostError when the database
// refuses, NameTaken when every name is held.
std::string create(long userId, double startTime);

// Drops the user's staging tables of runs that started more than kLeftoverAge before now.
// Never throws: a table that cannot be dropped now is dropped by a later run.
void dropLeftovers(long userId, double now) noexcept;

// Drops the table when it exists; never throws.
void drop(const std::string &tableName) noexcept;

} // namespace StagingTable
