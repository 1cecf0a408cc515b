#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the command line of the host program asks for.
struct Options
{
    std::filesystem::path database;
    bool databaseGiven = false; // --db named the file; only the default one is made on first use
    std::string odbc;           // an ODBC connection string: the host database on a server instead
    long operatorId = 0;
    bool operatorGiven = false;
    std::string language = "zh-CN";
    bool test = false;
    bool help = false;
    std::filesystem::path screenshot; // where the first window shown is saved as a PNG
    std::string press; // with screenshot: a command of that window pressed first, by tool name
                       // or shortcut; the window it opens is saved instead
    std::string command;
    std::vector<std::string> arguments; // the command's own: the file of import
    long rows = 0;                      // init-db: scale of the sample data, 0 for the demo
    bool force = false;                 // init-db: replace a database that holds tables
    bool noCount = false;               // init-db: the demo company without its count
};

// Parses argv; on bad usage returns nothing and puts the reason into error. Options may stand
// before or after the command; one that the command does not take is refused.
std::optional<Options> parseOptions(int argc, const char *const argv[], std::string &error);

std::string usageText();
