#pragma once

#include <QString>

#include <string_view>

// A caption or message in the user's language, for a window.
QString langText(std::string_view source);
// langText with "%1" filled in.
QString formatLangText(std::string_view source, const QString &arg);
