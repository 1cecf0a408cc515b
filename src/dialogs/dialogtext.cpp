#include "dialogs/dialogtext.h"

#include "services/mparse.h"

QString dialogText(std::string_view source)
{
    return QString::fromStdString(MParse::LoadLangString(source));
}

QString dialogText(std::string_view source, const QString &arg)
{
    return QString::fromStdString(MParse::FormatLangString(source, {arg.toStdString()}));
}
