#pragma once

#include <QString>

#include <optional>

namespace host::ui {

// A number as a grid shows it: fixed decimals, optionally grouped by thousands with ",".
QString formatFixed(double value, int decimals, bool grouping);
// Every significant digit of the value, no grouping: what a grid hands back as a cell's value.
QString formatFull(double value);
// A number typed or written into a number cell; group separators are allowed. Nothing when the
// text is not a number.
std::optional<double> parseNumber(const QString &text);

} // namespace host::ui
