#include "support/hostdatabases.h"

#include "sampledata/sampledata.h"
#include "sampledata/schema.h"

std::unique_ptr<host::AppConnection> openSchemaDatabase()
{
    auto connection = std::make_unique<host::AppConnection>();
    connection->openDatabase(":memory:");
    sampledata::createSchema(*connection);
    return connection;
}

std::unique_ptr<host::AppConnection> openDemoDatabase(double today)
{
    auto connection = openSchemaDatabase();
    sampledata::SampleOptions options;
    options.today = today;
    sampledata::generateSampleData(*connection, options);
    return connection;
}
