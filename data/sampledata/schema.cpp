#include "sampledata/schema.h"

#include "host/db/appconnection.h"
#include "host/db/commandscope.h"

namespace sampledata {
namespace {

std::string_view trimmed(std::string_view line)
{
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = line.find_last_not_of(" \t\r");
    return line.substr(first, last - first + 1);
}

} // namespace

std::vector<std::string> schemaStatements(std::string_view text)
{
    std::vector<std::string> statements;
    std::string current;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.starts_with("--"))
            continue;
        if (!current.empty())
            current += "\r\n";
        if (line.ends_with(';')) {
            current += line.substr(0, line.size() - 1);
            statements.push_back(std::move(current));
            current.clear();
        } else {
            current += line;
        }
    }
    if (!trimmed(current).empty())
        statements.push_back(std::move(current));
    return statements;
}

void createSchema(host::AppConnection &connection)
{
    // One command: the tables reach the file once, when all are made.
    const host::CommandScope making(connection);
    for (const auto &statement : schemaStatements(schemaText()))
        connection.Execute(statement);
}

} // namespace sampledata
