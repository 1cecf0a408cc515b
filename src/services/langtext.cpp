#include "services/langtext.h"

#include "services/mparse.h"

QString langText(std::string_view source)
{
    return QString::fromStdString(MParse::LoadLangString(source));
}

QString formatLangText(std::string_view source, const QString &arg)
{
    return QString::fromStdString(MParse::FormatLangString(source, {arg.toStdString()}));
}
