#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What the command line of the host program asks for.
struct Options
{
    std::filesystem::path database;
    std::string odbc; // an ODBC connection string: the host database on a server instead
    long operatorId = 0;
    std::string language = "zh-CN";
    bool test = false;
    bool help = false;
    std::filesystem::path screenshot; // where the first window shown is saved as a PNG
    std::string command;
    std::vector<std::string> arguments; // what follows the command
};

// Parses argv; on bad usage returns nothing and puts the reason into error.
std::optional<Options> parseOptions(int argc, const char *const argv[], std::string &error);

std::string usageText();
