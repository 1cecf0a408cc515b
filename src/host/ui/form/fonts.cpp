#include "host/ui/form/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace host::ui {

namespace {

QString findCjkFamily()
{
    const QStringList preferred = {QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                                   QStringLiteral("Noto Sans CJK SC")};
    const QStringList installed = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    for (const QString &family : preferred) {
        if (installed.contains(family))
            return family;
    }
    return installed.isEmpty() ? QString() : installed.first();
}

void installSubstitutions(const QString &family)
{
    if (family.isEmpty())
        return;
    for (const char *name : {"宋体", "新宋体", "SimSun", "NSimSun"})
        QFont::insertSubstitution(QString::fromUtf8(name), family);
}

} // namespace

QString cjkFamily()
{
    static const QString family = [] {
        QString found = findCjkFamily();
        installSubstitutions(found);
        return found;
    }();
    return family;
}

QFont uiFont(double pointSize)
{
    QFont font(cjkFamily());
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace host::ui
