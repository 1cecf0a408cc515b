#include "host/ui/numberformat.h"

#include <QLocale>

#include <cmath>

namespace host::ui {

QString formatFixed(double value, int decimals, bool grouping)
{
    QString text = QString::number(value, 'f', std::max(decimals, 0));
    if (text.startsWith(QLatin1Char('-')) && text.mid(1).toDouble() == 0.0)
        text.remove(0, 1); // no "-0.00"
    if (!grouping)
        return text;
    const qsizetype sign = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = text.size();
    for (qsizetype i = point - 3; i > sign; i -= 3)
        text.insert(i, QLatin1Char(','));
    return text;
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

} // namespace host::ui
