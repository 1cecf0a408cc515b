#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The texts the filter and sort dialog leaves in gFilterDict, built from its rows. Operators,
// logic words and orders are taken by their position in the dialog's lists, never from the
// translated text the user saw, and every value between quotes has its quotes doubled.
namespace filtertext {

// The comparison operators of the condition list, in list order (after the blank entry).
inline constexpr std::array<std::string_view, 8> compareOperators = {
    "=", "<>", ">", ">=", "<", "<=", "like", "not like"};
// The logic words of the condition list, in list order.
inline constexpr std::array<std::string_view, 2> logicWords = {"and", "or"};
// The order words of the sort list: 升序, 降序.
inline constexpr std::array<std::string_view, 2> orderWords = {"Asc", "Desc"};

// The word at a 1-based list position (0, the blank entry, and positions past the list give
// an empty text).
template <size_t N>
std::string_view wordAt(const std::array<std::string_view, N> &words, int position)
{
    return position >= 1 && position <= static_cast<int>(N) ? words[position - 1]
                                                            : std::string_view();
}

struct Condition
{
    std::string key;     // the template's FColName
    std::string colType; // the template's FColType: 0 date, 2 decimal, 3 integer, else text
    std::string op;      // one of compareOperators
    std::string value;   // as typed
    std::string logic;   // one of logicWords, or empty
};

struct SortKey
{
    std::string key;   // the template's FColName
    std::string order; // one of orderWords, or empty
};

// The count-sheet column an item, stock-place or stock code is matched on: the full number
// when useShortNumber (full numbers in use), the short number otherwise.
std::string codeField(std::string_view key, bool useShortNumber);

// Whether the condition's value can be compared: a number column's value is a number within
// what the query can hold; any other column's value is a text and always can.
bool comparable(const Condition &condition);

// The "Filter" text: the conditions joined by their logic words, a trailing and/or cut off.
std::string filterText(const std::vector<Condition> &conditions, bool useShortNumber);
// The "SortBy" text: "key order ," per row, the last comma cut off.
std::string sortText(const std::vector<SortKey> &keys, bool useShortNumber);

} // namespace filtertext
