#include "host/lang/resloader.h"
#include "host/core/text.h"

#include "host/core/paths.h"

#include <opencc.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace host {
namespace {

// One converter for the process: opening it reads its dictionaries.
class Converter
{
public:
    Converter() : m_handle(opencc_open("s2tw.json")) {}
    ~Converter()
    {
        if (valid())
            opencc_close(m_handle);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // opencc hands back (opencc_t)-1 when it cannot open.
    bool valid() const { return reinterpret_cast<std::intptr_t>(m_handle) != -1; }

    std::string convert(std::string_view text) const
    {
        if (!valid())
            return std::string(text);
        char *out = opencc_convert_utf8(m_handle, text.data(), text.size());
        if (!out)
            return std::string(text);
        std::string result(out);
        opencc_convert_utf8_free(out);
        return result;
    }

private:
    opencc_t m_handle;
};

using Table = std::unordered_map<std::string, std::string>;

// A table of data/lang by its name: source, tab, text per line; "#" starts a comment line.
const Table &tableFor(const std::string &name)
{
    static std::map<std::string, Table> tables;
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    const auto found = tables.find(name);
    if (found != tables.end())
        return found->second;
    Table &table = tables[name];
    std::ifstream in(dataDir() / "lang" / (toLower(name) + ".tsv"));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto tab = line.find('\t');
        if (line.empty() || line.front() == '#' || tab == std::string::npos)
            continue;
        table.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    return table;
}

// Replaces each Taiwan term of the table at its place, longest first, in one pass, so that a
// replacement is never taken for a term again.
std::string withTaiwanTerms(const std::string &text)
{
    static const auto terms = [] {
        const Table &table = tableFor("taiwan");
        std::vector<std::pair<std::string, std::string>> list(table.begin(), table.end());
        std::stable_sort(list.begin(), list.end(), [](const auto &a, const auto &b) {
            return a.first.size() > b.first.size();
        });
        return list;
    }();
    std::string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto term = std::find_if(terms.begin(), terms.end(), [&](const auto &t) {
            return text.compare(i, t.first.size(), t.first) == 0;
        });
        if (term != terms.end()) {
            result += term->second;
            i += term->first.size();
            continue;
        }
        // On to the next character: past the continuation bytes of a UTF-8 sequence.
        do
            result += text[i++];
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80);
    }
    return result;
}

} // namespace

bool isSourceText(std::string_view text)
{
    return tableFor("en").count(std::string(text)) > 0;
}

std::string toTraditionalChinese(std::string_view text)
{
    static const Converter converter;
    return withTaiwanTerms(converter.convert(text));
}

std::string ResLoader::LoadString(std::string_view source) const
{
    const std::string language = toUpper(m_language);
    if (language.empty() || language == "CHS")
        return std::string(source);
    if (language == "CHT")
        return toTraditionalChinese(source);
    const Table &table = tableFor(language);
    const auto it = table.find(std::string(source));
    return it == table.end() ? std::string(source) : it->second;
}

} // namespace host
