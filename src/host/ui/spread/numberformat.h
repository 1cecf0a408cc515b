#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace host::ui {

// A number as a grid shows it, in the notation of the locale: fixed decimals, optionally grouped
// by thousands; never a negative zero.
QString formatFixed(double value, int decimals, bool grouping, const QLocale &locale = QLocale());
// The decimals a value has beyond the point, at most `most`: those of its form rounded to `most`
// decimals, without trailing zeros.
int decimalsOf(double value, int most);
// Every significant digit of the value, no grouping: what a grid hands back as a cell's value.
QString formatFull(double value);
// A number written by the program into a number cell (a point, "," grouping allowed). Nothing
// when the text is not a number.
std::optional<double> parseNumber(const QString &text);

// A number typed by the user, with the decimals typed.
struct TypedNumber
{
    double value = 0;
    int decimals = 0;
};
// In the locale's notation (its decimal separator and grouping), or plain with a point and no
// grouping. Nothing for any other text: letters, an exponent, an infinity or not-a-number.
std::optional<TypedNumber> parseTypedNumber(const QString &text, const QLocale &locale = QLocale());
// The value as the user edits it: every digit, in the locale's notation, without grouping.
QString editText(double value, const QLocale &locale = QLocale());

} // namespace host::ui
