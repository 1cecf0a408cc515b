// Every Chinese text the module shows has an English line, so that a window built later cannot
// stay half Chinese under --lang en; and every text in English and in Traditional Chinese names
// each idea by the one word of the glossary.

#include "demodatabase.h"
#include "host/core/text.h"
#include "host/lang/resloader.h"
#include "support/hostdatabases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSource = STOCKCHECK_SOURCE_DIR;

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool isChinese(const std::string &text)
{
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if ((b0 & 0xF0) != 0xE0)
            continue;
        const unsigned code = ((b0 & 0x0Fu) << 12) |
                              ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                              (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        if ((code >= 0x3000 && code <= 0x9FFF) || (code >= 0xFF00 && code <= 0xFFEF))
            return true;
    }
    return false;
}

char unescaped(char c)
{
    switch (c) {
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return c;
    }
}

// The string literals of a C++ source, adjacent literals joined as the compiler joins them;
// comments and character literals are passed over.
std::vector<std::string> stringLiterals(const std::string &code)
{
    std::vector<std::string> literals;
    bool joinNext = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (code.compare(i, 2, "//") == 0) {
            i = code.find('\n', i);
            if (i == std::string::npos)
                break;
        } else if (code.compare(i, 2, "/*") == 0) {
            i = code.find("*/", i + 2) + 1;
        } else if (c == '\'' && i > 0 && !std::isalnum(static_cast<unsigned char>(code[i - 1]))) {
            for (++i; i < code.size() && code[i] != '\''; ++i)
                i += code[i] == '\\';
            joinNext = false;
        } else if (c == '"') {
            std::string text;
            for (++i; i < code.size() && code[i] != '"'; ++i)
                text += code[i] == '\\' ? unescaped(code[++i]) : code[i];
            if (joinNext)
                literals.back() += text;
            else
                literals.push_back(text);
            joinNext = true;
        } else if (!std::isspace(static_cast<unsigned char>(c))) {
            joinNext = false;
        }
    }
    return literals;
}

std::map<std::string, std::vector<std::string>> englishTable()
{
    std::map<std::string, std::vector<std::string>> table;
    std::istringstream in(readFile(kSource / "data" / "lang" / "en.tsv"));
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (line.empty() || line.front() == '#' || tab == std::string::npos)
            continue;
        table[line.substr(0, tab)].push_back(line.substr(tab + 1));
    }
    return table;
}

// The texts the host keeps in each language: simplified, traditional and English per row.
std::vector<std::vector<std::string>> hostTexts()
{
    struct Columns
    {
        const char *table;
        const char *simplified;
        const char *traditional;
        const char *english;
    };
    const auto database = openDemoDatabase(0);
    std::vector<std::vector<std::string>> rows;
    for (const Columns &c :
         {Columns{"ICChatBillTitle", "FColCaption", "FColCaption_CHT", "FColCaption_EN"},
          Columns{"ICTransactionType", "FName", "FName_CHT", "FName_EN"},
          Columns{"ICClassType", "FName", "FName_CHT", "FName_EN"}}) {
        for (auto &row :
             rowsAsText(*database, std::string("Select Distinct ") + c.simplified + "," +
                                       c.traditional + "," + c.english + " From " + c.table))
            rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> split(const std::string &text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

struct GlossaryEntry
{
    std::string language;
    std::vector<std::string> forms;  // the term first
    std::vector<std::string> banned; // words that must not name the idea
};

std::vector<GlossaryEntry> glossary()
{
    std::vector<GlossaryEntry> entries;
    std::istringstream in(readFile(kSource / "data" / "lang" / "glossary.tsv"));
    for (std::string line; std::getline(in, line);) {
        const auto fields = split(line, '\t');
        if (line.empty() || line.front() == '#' || fields.size() != 3)
            continue;
        entries.push_back({fields[0], split(host::toLower(fields[1]), '|'),
                           split(host::toLower(fields[2]), '|')});
    }
    return entries;
}

// Where word stands in text (both lower case): [begin, end) of each place; an English word only
// where it stands whole.
std::vector<std::pair<size_t, size_t>> placesOf(const std::string &text, const std::string &word,
                                                bool wholeWords)
{
    auto isWordChar = [&](size_t i) {
        return i < text.size() && std::isalnum(static_cast<unsigned char>(text[i]));
    };
    std::vector<std::pair<size_t, size_t>> places;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        if (!wholeWords || ((at == 0 || !isWordChar(at - 1)) && !isWordChar(end)))
            places.emplace_back(at, end);
    }
    return places;
}

} // namespace

TEST(EnglishTexts, EveryChineseTextOfTheSourcesHasAnEnglishLine)
{
    const auto table = englishTable();
    std::set<std::string> missing;
    size_t seen = 0;
    for (const auto &entry : fs::recursive_directory_iterator(kSource / "src")) {
        const auto extension = entry.path().extension();
        if (extension != ".cpp" && extension != ".h")
            continue;
        for (const auto &literal : stringLiterals(readFile(entry.path()))) {
            if (!isChinese(literal))
                continue;
            ++seen;
            const auto found = table.find(literal);
            if (found == table.end() || isChinese(found->second.front()))
                missing.insert(entry.path().filename().string() + ": " + literal);
        }
    }
    EXPECT_GT(seen, 100u);
    for (const auto &text : missing)
        ADD_FAILURE() << "no English line for " << text;
}

// Tables of the host that keep a text in each language: the module looks for some of them by
// their translated source text (a column caption), so each must read in every language as the
// language service gives it.
TEST(EnglishTexts, TextsKeptInEveryLanguageReadAsTheLanguageServiceGivesThem)
{
    const auto table = englishTable();
    const auto rows = hostTexts();
    for (const auto &row : rows) {
        EXPECT_EQ(row[1], host::toTraditionalChinese(row[0])) << row[0];
        const auto found = table.find(row[0]);
        EXPECT_TRUE(found != table.end() && found->second.front() == row[2])
            << row[0] << ": " << row[2];
    }
    EXPECT_GT(rows.size(), 40u);
}

// Qt draws "&" before the letter it underlines; a Chinese caption carries its key apart,
// "(&F)", but an English one marks a letter of its own words.
TEST(EnglishTexts, EnglishCaptionsMarkALetterOfTheirOwnWords)
{
    const std::regex chineseStyle(R"(\(&.\))");
    const std::regex wordKey(R"(&[A-Za-z])");
    for (const auto &[source, translations] : englishTable()) {
        if (!std::regex_search(source, chineseStyle))
            continue;
        const std::string &english = translations.front();
        EXPECT_TRUE(std::regex_search(english, wordKey) &&
                    !std::regex_search(english, chineseStyle))
            << source << " -> " << english;
    }
}

TEST(EnglishTexts, EachSourceTextHasOneTranslation)
{
    for (const auto &[source, translations] : englishTable()) {
        EXPECT_EQ(std::set<std::string>(translations.begin(), translations.end()).size(), 1u)
            << source;
        EXPECT_FALSE(isChinese(translations.front())) << source;
    }
}

// The glossary's word for an idea is the only one a text uses: no English text calls a count
// process a plan, and no Traditional Chinese text keeps a word used only on the mainland. Each
// term is in use, so the list stays true to the texts.
TEST(EnglishTexts, EveryTextNamesEachIdeaByTheGlossarysTerm)
{
    std::map<std::string, std::vector<std::string>> texts;
    for (const auto &[source, translations] : englishTable()) {
        texts["en"].push_back(host::toLower(translations.front()));
        texts["zh-TW"].push_back(host::toLower(host::toTraditionalChinese(source)));
    }
    for (const auto &row : hostTexts()) {
        texts["zh-TW"].push_back(host::toLower(row[1]));
        texts["en"].push_back(host::toLower(row[2]));
    }
    const auto entries = glossary();
    ASSERT_GT(entries.size(), 20u);
    for (const GlossaryEntry &entry : entries) {
        const bool english = entry.language == "en";
        bool used = false;
        for (const std::string &text : texts.at(entry.language)) {
            used = used || !placesOf(text, entry.forms.front(), false).empty();
            // The places that some term of the language covers.
            std::vector<std::pair<size_t, size_t>> covered;
            for (const GlossaryEntry &other : entries) {
                for (const std::string &form : other.forms) {
                    if (other.language == entry.language) {
                        const auto places = placesOf(text, form, false);
                        covered.insert(covered.end(), places.begin(), places.end());
                    }
                }
            }
            for (const std::string &word : entry.banned) {
                for (const auto &[begin, end] : placesOf(text, word, english)) {
                    const bool inTerm = std::any_of(covered.begin(), covered.end(), [&](auto c) {
                        return c.first <= begin && end <= c.second;
                    });
                    EXPECT_TRUE(inTerm) << entry.language << " \"" << text << "\" says \"" << word
                                        << "\" for \"" << entry.forms.front() << "\"";
                }
            }
        }
        EXPECT_TRUE(used) << entry.language << " \"" << entry.forms.front() << "\" is not used";
    }
}

// Taiwan reads 行 as a column and 列 as a row, the other way round from the mainland: every
// Traditional Chinese text says a mainland row (第3行, 行号) with 列 and a mainland column with
// 欄, and keeps 列 only for a row or where it names no column at all.
TEST(EnglishTexts, TraditionalTextsReadRowsAndColumnsTheTaiwanWay)
{
    std::vector<std::pair<std::string, std::string>> texts;
    for (const auto &entry : englishTable())
        texts.emplace_back(entry.first, host::toTraditionalChinese(entry.first));
    for (const auto &row : hostTexts())
        texts.emplace_back(row[0], row[1]);
    const std::regex mainlandRow("第(%[0-9]|[0-9]+)行|行号");
    const std::regex mainlandRowLeft("第(%[0-9]|[0-9]+)行|行號");
    const std::regex taiwanRow("第(%[0-9]|[0-9]+)列|列號");
    // Words whose 列 is a list, a sequence, printing or Taiwan's bar.
    const std::vector<std::string> noColumn = {"列表", "下列", "序列", "列印", "工具列", "狀態列"};
    auto count = [](const std::string &text, const std::regex &pattern) {
        return std::distance(std::sregex_iterator(text.begin(), text.end(), pattern),
                             std::sregex_iterator());
    };
    auto columns = [&](std::string text) {
        for (const std::string &word : noColumn) {
            for (size_t at = text.find(word); at != std::string::npos; at = text.find(word))
                text.erase(at, word.size());
        }
        return static_cast<long>(placesOf(text, "列", false).size());
    };
    size_t rowsSeen = 0;
    size_t columnsSeen = 0;
    for (const auto &[simplified, traditional] : texts) {
        const auto rows = count(simplified, mainlandRow);
        const long mainlandColumns = columns(simplified);
        rowsSeen += rows;
        columnsSeen += mainlandColumns;
        EXPECT_EQ(count(traditional, mainlandRowLeft), 0) << traditional;
        EXPECT_EQ(count(traditional, taiwanRow), rows) << traditional;
        EXPECT_EQ(columns(std::regex_replace(traditional, taiwanRow, "")), 0) << traditional;
        EXPECT_GE(static_cast<long>(placesOf(traditional, "欄", false).size()), mainlandColumns)
            << traditional;
    }
    EXPECT_GT(rowsSeen, 5u);
    EXPECT_GT(columnsSeen, 5u);
}
