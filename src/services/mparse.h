#pragma once

#include "host/core/dictionary.h"
#include "host/core/variant.h"

#include <memory>

#include <string>
#include <string_view>
#include <vector>

class QWidget;

// The host context string and the language of every visible text.
namespace MParse {

// The part of text before the first separator (found without regard to case); text keeps what
// follows it. Without the separator the whole text is returned and text is left empty.
std::string GetToken(std::string &text, std::string_view separator);
std::string GetPropKey(std::string &rest);
std::string GetPropValueToken(std::string &rest);

// Parses "key=value;" pairs (a value may be wrapped in braces) into g_colProps. A key that
// comes twice is an error.
bool ParseProps(const std::string &props);
std::string GetPropValue(std::string_view key);
long GetUserID();

// Reads one key straight from the host context string, without parsing it first.
std::string GetPropsItem(std::string_view key);

// The text for a Chinese source text in the user's language; never throws.
std::string LoadLangString(std::string_view source) noexcept;
std::string LoadCompoundString(std::string_view text) noexcept;
// LoadLangString with "%1", "%2", ... filled from args (Null as an empty text); never throws.
std::string FormatLangString(std::string_view source,
                             const std::vector<host::Variant> &args) noexcept;
// The column name for the current language's column: name_CHT, name_EN or name.
std::string AddLangSuffix(std::string_view columnName);

// A window's captions in the user's language; nothing happens for Simplified Chinese. Without
// a dictionary a new one asking for column headers is used; dict holds what the loader hands
// back.
void LoadFormResStrings(QWidget &form, std::shared_ptr<host::Dictionary> &dict,
                        std::string_view baseName);
void SetFormFont(QWidget &form);
// The user-interface font: "Font.Name", "Font.Size", "Font.Charset".
std::shared_ptr<host::Dictionary> GetFontProps();

} // namespace MParse
