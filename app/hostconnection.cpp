#include "hostconnection.h"

void openHostDatabase(host::AppConnection &connection, const Options &options)
{
    if (options.odbc.empty())
        connection.openDatabase(options.database.string());
    else
        connection.openOdbc(options.odbc);
}
