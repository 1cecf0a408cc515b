#pragma once

#include "host/db/appconnection.h"

#include <memory>

// The databases the tests start from, each a fresh one in memory.

// The host schema with no rows.
std::unique_ptr<host::AppConnection> openSchemaDatabase();

// The host schema with the demo company as seen on the given day (an automation date).
std::unique_ptr<host::AppConnection> openDemoDatabase(double today);
