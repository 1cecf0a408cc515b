#pragma once

#include <QString>

#include <string_view>

// A caption or message of the count-sheet dialogs in the user's language.
QString dialogText(std::string_view source);
// The same with "%1" filled in.
QString dialogText(std::string_view source, const QString &arg);
