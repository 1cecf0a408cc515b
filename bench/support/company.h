#pragma once

#include "host/db/appconnection.h"
#include "host/ui/modal/scriptedmodals.h"

#include <memory>
#include <string>

// The sample company with about `rows` rows of book stock in an in-memory database, set up as
// the host hands it to the module (connection, operator 16394, current period). One company is
// kept at a time: asking for another size replaces it.
struct Company
{
    explicit Company(long rows);

    // A message would wait for a user; here it is recorded.
    host::ui::ScriptedModals modals;
    std::shared_ptr<host::AppConnection> connection;
    std::string stockList; // every stock, comma-separated
    long rows;
};

Company &company(long rows);

// Runs one statement on the company's database through SQLite itself; throws on failure.
void runSqlite(const std::string &sql);
