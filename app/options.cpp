#include "options.h"

#include "host/core/paths.h"

#include <charconv>
#include <set>
#include <string_view>
#include <system_error>

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

class Parser
{
public:
    Parser(int argc, const char *const argv[], std::string &error)
        : m_args(argv + 1, argv + argc), m_error(error)
    {}

    std::optional<Options> parse()
    {
        m_options.database = host::userDataDir() / "host.db";
        while (m_next < m_args.size()) {
            if (!parseOne(m_args[m_next++]))
                return std::nullopt;
        }
        return complete() ? std::optional<Options>(m_options) : std::nullopt;
    }

private:
    bool fail(std::string reason)
    {
        m_error = std::move(reason);
        return false;
    }

    std::optional<std::string_view> value(std::string_view name)
    {
        if (m_next >= m_args.size()) {
            fail(std::string(name) + " needs a value");
            return std::nullopt;
        }
        return m_args[m_next++];
    }

    bool parseOne(std::string_view arg)
    {
        Options &o = m_options;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--test") {
            o.test = true;
        } else if (arg == "--force") {
            o.force = true;
        } else if (arg == "--no-count") {
            o.noCount = true;
        } else if (arg == "--db" || arg == "--odbc" || arg == "--screenshot" || arg == "--press" ||
                   arg == "--lang" || arg == "--operator" || arg == "--rows") {
            const auto v = value(arg);
            return v && setValue(arg, *v);
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return fail("unknown option '" + std::string(arg) + "'");
        } else if (o.command.empty()) {
            if (!kCommands.contains(arg))
                return fail("unknown command '" + std::string(arg) + "'");
            o.command = std::string(arg);
        } else {
            o.arguments.emplace_back(arg);
        }
        return true;
    }

    bool setValue(std::string_view name, std::string_view v)
    {
        Options &o = m_options;
        // An empty database or connection must not fall back to the default database.
        if ((name == "--db" || name == "--odbc") &&
            v.find_first_not_of(" \t") == std::string_view::npos)
            return fail(std::string(name) + " needs " +
                        (name == "--db" ? "a file name" : "a connection string") +
                        ", not an empty text");
        if (name == "--db") {
            o.database = std::string(v);
            o.databaseGiven = true;
        } else if (name == "--odbc") {
            o.odbc = std::string(v);
        } else if (name == "--screenshot") {
            o.screenshot = std::string(v);
        } else if (name == "--press") {
            o.press = std::string(v);
        } else if (name == "--lang") {
            if (!kLanguages.contains(v))
                return fail("--lang takes zh-CN, zh-TW or en, not '" + std::string(v) + "'");
            o.language = std::string(v);
        } else if (name == "--operator") {
            if (!parseLong(v, o.operatorId))
                return fail("--operator needs a whole number, not '" + std::string(v) + "'");
            o.operatorGiven = true;
        } else if (!parseLong(v, o.rows) || o.rows <= 0) {
            return fail("--rows needs a positive whole number, not '" + std::string(v) + "'");
        }
        return true;
    }

    bool complete()
    {
        const Options &o = m_options;
        if (o.help)
            return true;
        if (o.command.empty())
            return fail("no command given");
        if (o.command == "import" && o.arguments.size() != 1)
            return fail("import takes one file");
        if (o.command != "import" && !o.arguments.empty())
            return fail(o.command + " takes no argument '" + o.arguments.front() + "'");
        if (o.command != "init-db" && (o.rows != 0 || o.force || o.noCount))
            return fail("--rows, --force and --no-count go with init-db only");
        if (!o.press.empty() && o.screenshot.empty())
            return fail("--press goes with --screenshot");
        if (!o.screenshot.empty()) {
            const auto folder = o.screenshot.parent_path();
            std::error_code ec;
            if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
                return fail("--screenshot: there is no folder " + folder.string());
        }
        return true;
    }

    std::vector<std::string_view> m_args;
    std::size_t m_next = 0;
    std::string &m_error;
    Options m_options;
};

} // namespace

std::string usageText()
{
    return "Usage: stockcheck [options] <command> [arguments]\n"
           "\n"
           "The host program of the stock-count module.\n"
           "\n"
           "Commands:\n"
           "  init-db [--rows N] [--force] [--no-count]\n"
           "                                create the host database with sample data: the\n"
           "                                demo company with one count, or N rows of stock\n"
           "  sql                           run one SQL batch read from standard input\n"
           "  processes                     list and manage count processes\n"
           "  backup                        back up book stock into a new count\n"
           "  input                         enter counted quantities\n"
           "  check                         check differences, make gain and loss bills\n"
           "  print                         print the count book\n"
           "  import FILE                   import counted quantities from a spreadsheet\n"
           "                                (with --test: into the operator's last open count)\n"
           "\n"
           "Options (before or after the command):\n"
           "  --db FILE        the host database (default: " +
           (host::userDataDir() / "host.db").string() +
           ",\n"
           "                   made with the demo company on first use)\n"
           "  --odbc STRING    the host database on a server, by an ODBC connection string\n"
           "  --operator ID    the operator's user id, a user of the database (the module's\n"
           "                   commands refuse to run without one)\n"
           "  --lang LANG      zh-CN, zh-TW or en (default zh-CN)\n"
           "  --test           test run: count-sheet windows close themselves\n"
           "  --screenshot PNG save the first window shown as a picture and close it\n"
           "  --press KEY      with --screenshot: first press the window's tool of that name\n"
           "                   or shortcut (Find, Filter, PrintPreview, Ctrl+H) and save the\n"
           "                   window it opens\n"
           "  --help           show this text\n";
}

std::optional<Options> parseOptions(int argc, const char *const argv[], std::string &error)
{
    return Parser(argc, argv, error).parse();
}
