#pragma once

#include <QString>

#include <string_view>

namespace host {
class Variant;
}

// A caption or message of the dialogs in the user's language.
QString langText(std::string_view source);
QString formatLangText(std::string_view source, const host::Variant &arg);
