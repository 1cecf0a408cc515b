// Every Chinese text the module shows has an English line, so that a window built later cannot
// stay half Chinese under --lang en.

#include "demodatabase.h"
#include "host/lang/resloader.h"
#include "support/hostdatabases.h"

#include <gtest/gtest.h>

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
    struct Columns
    {
        const char *table;
        const char *simplified;
        const char *traditional;
        const char *english;
    };
    const auto table = englishTable();
    const auto database = openDemoDatabase(0);
    size_t rows = 0;
    for (const Columns &c :
         {Columns{"ICChatBillTitle", "FColCaption", "FColCaption_CHT", "FColCaption_EN"},
          Columns{"ICTransactionType", "FName", "FName_CHT", "FName_EN"},
          Columns{"ICClassType", "FName", "FName_CHT", "FName_EN"}}) {
        for (const auto &row :
             rowsAsText(*database, std::string("Select Distinct ") + c.simplified + "," +
                                       c.traditional + "," + c.english + " From " + c.table)) {
            ++rows;
            EXPECT_EQ(row[1], host::toTraditionalChinese(row[0])) << c.table << " " << row[0];
            const auto found = table.find(row[0]);
            EXPECT_TRUE(found != table.end() && found->second.front() == row[2])
                << c.table << " " << row[0] << ": " << row[2];
        }
    }
    EXPECT_GT(rows, 40u);
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
