#include "host/ui/modal/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace host::ui {

bool installQtTranslations(const QString &language)
{
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    const QLocale locale(QString(language).replace(QLatin1Char('-'), QLatin1Char('_')));
    if (!translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

} // namespace host::ui
