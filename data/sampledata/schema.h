#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {
class AppConnection;
}

namespace sampledata {

// The host schema (data/schema.sql), built into the program.
std::string_view schemaText();

// The statements of a schema text: each ends with ";" at the end of a line; comment lines
// are dropped and the ";" is not part of the statement.
std::vector<std::string> schemaStatements(std::string_view text);

// Creates every host table, index and view in an empty database.
void createSchema(host::AppConnection &connection);

} // namespace sampledata
