#pragma once

#include <QString>

#include <functional>
#include <string_view>

namespace backup {

// A caption or message in the user's language.
QString langText(std::string_view source);
QString formatLangText(std::string_view source, const QString &arg);

// Runs one step of setting captions; a failing step is passed over so the next still runs.
void ignoringErrors(const std::function<void()> &step) noexcept;

} // namespace backup
