#include "command_initdb.h"
#include "command_sql.h"
#include "modulehost.h"
#include "options.h"

#include <iostream>

namespace {

constexpr int kUsageError = 2;

} // namespace

int main(int argc, char *argv[])
{
    std::string error;
    const auto options = parseOptions(argc, argv, error);
    if (!options) {
        std::cerr << "stockcheck: " << error << "\n\n" << usageText();
        return kUsageError;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    if (options->command == "init-db")
        return runInitDb(*options);
    if (!ensureDatabase(*options))
        return 1;
    if (options->command == "sql")
        return runSqlCommand(*options, std::cin, std::cout, std::cerr);
    return runModuleCommand(*options);
}
