#include "options.h"

#include "host/core/paths.h"

#include <charconv>
#include <set>
#include <string_view>

namespace {

const std::set<std::string_view> kCommands{"init-db", "sql",   "processes", "backup",
                                           "input",   "check", "print",     "import"};
const std::set<std::string_view> kLanguages{"zh-CN", "zh-TW", "en"};

bool parseLong(std::string_view text, long &out)
{
    const auto *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::string usageText()
{
    return "Usage: stockcheck [options] <command> [arguments]\n"
           "\n"
           "The host program of the stock-count module.\n"
           "\n"
           "Commands:\n"
           "  init-db [--rows N] [--force]  create the host database with sample data\n"
           "  sql                           run one SQL batch read from standard input\n"
           "  processes                     list and manage count processes\n"
           "  backup                        back up book stock into a new count\n"
           "  input                         enter counted quantities\n"
           "  check                         check differences, make gain and loss bills\n"
           "  print                         print the count book\n"
           "  import FILE                   import counted quantities from a spreadsheet\n"
           "\n"
           "Options:\n"
           "  --db FILE        the host database (default: " +
           (host::userDataDir() / "host.db").string() +
           ")\n"
           "  --odbc STRING    the host database on a server, by an ODBC connection string\n"
           "  --operator ID    the operator's user id (default 0)\n"
           "  --lang LANG      zh-CN, zh-TW or en (default zh-CN)\n"
           "  --test           test run: count-sheet windows close themselves\n"
           "  --screenshot PNG save the first window shown as a picture and close it\n"
           "  --help           show this text\n";
}

std::optional<Options> parseOptions(int argc, const char *const argv[], std::string &error)
{
    Options options;
    options.database = host::userDataDir() / "host.db";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view name) -> std::optional<std::string_view> {
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return std::string_view(argv[++i]);
        };
        if (!options.command.empty()) {
            options.arguments.emplace_back(arg);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--test") {
            options.test = true;
        } else if (arg == "--db") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            options.database = std::string(*v);
        } else if (arg == "--odbc") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            options.odbc = std::string(*v);
        } else if (arg == "--operator") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            if (!parseLong(*v, options.operatorId)) {
                error = "--operator needs a whole number, not '" + std::string(*v) + "'";
                return std::nullopt;
            }
        } else if (arg == "--lang") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            if (!kLanguages.contains(*v)) {
                error = "--lang takes zh-CN, zh-TW or en, not '" + std::string(*v) + "'";
                return std::nullopt;
            }
            options.language = std::string(*v);
        } else if (arg == "--screenshot") {
            const auto v = value(arg);
            if (!v)
                return std::nullopt;
            options.screenshot = std::string(*v);
        } else if (kCommands.contains(arg)) {
            options.command = std::string(arg);
        } else {
            error = "unknown " + std::string(arg.starts_with("-") ? "option" : "command") + " '" +
                    std::string(arg) + "'";
            return std::nullopt;
        }
    }
    if (options.command.empty() && !options.help) {
        error = "no command given";
        return std::nullopt;
    }
    if (options.command == "import" && options.arguments.size() != 1) {
        error = "import takes one file";
        return std::nullopt;
    }
    return options;
}
