#include "host/ui/spread/numberformat.h"

#include <cmath>

namespace host::ui {

namespace {

bool anyNonZeroDigit(const QString &text)
{
    for (const QChar c : text)
        if (c.isDigit() && c.digitValue() != 0)
            return true;
    return false;
}

// Decimals of a number text after the decimal separator, up to anything that is no digit.
int decimalsAfter(const QString &text, QChar point)
{
    const qsizetype at = text.indexOf(point);
    if (at < 0)
        return 0;
    int count = 0;
    for (qsizetype i = at + 1; i < text.size() && text.at(i).isDigit(); ++i)
        ++count;
    return count;
}

} // namespace

QString formatFixed(double value, int decimals, bool grouping, const QLocale &locale)
{
    QLocale shown = locale;
    shown.setNumberOptions(grouping ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    QString digits = shown.toString(std::abs(value), 'f', std::max(decimals, 0));
    // No "-0.00": a value that rounds to zero has no sign.
    if (value < 0 && anyNonZeroDigit(digits))
        return shown.negativeSign() + digits;
    return digits;
}

int decimalsOf(double value, int most)
{
    if (most <= 0 || !std::isfinite(value))
        return 0;
    const QString text = QString::number(std::abs(value), 'f', most);
    int decimals = most;
    for (qsizetype i = text.size() - 1; decimals > 0 && text.at(i) == QLatin1Char('0'); --i)
        --decimals;
    return decimals;
}

QString formatFull(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> parseNumber(const QString &text)
{
    QString plain = text.trimmed();
    plain.remove(QLatin1Char(','));
    if (plain.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<TypedNumber> parseTypedNumber(const QString &text, const QLocale &locale)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty() || typed.contains(QLatin1Char('e'), Qt::CaseInsensitive) ||
        typed.contains(locale.exponential(), Qt::CaseInsensitive))
        return std::nullopt;
    bool ok = false;
    double value = locale.toDouble(typed, &ok);
    QString point = locale.decimalPoint();
    if (!ok) {
        QLocale plain = QLocale::c();
        plain.setNumberOptions(QLocale::RejectGroupSeparator);
        value = plain.toDouble(typed, &ok);
        point = QStringLiteral(".");
    }
    if (!ok || !std::isfinite(value) || point.isEmpty())
        return std::nullopt;
    return TypedNumber{value, decimalsAfter(typed, point.at(0))};
}

QString editText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', QLocale::FloatingPointShortest);
}

} // namespace host::ui
