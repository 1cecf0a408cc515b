#include "support/xlsxparts.h"

#include <QProcess>
#include <QXmlStreamReader>

namespace xlsxparts {
namespace {

// "C12" -> column 3, row 12.
std::pair<int, int> position(const QString &ref)
{
    int col = 0;
    int i = 0;
    for (; i < ref.size() && ref.at(i).isLetter(); ++i)
        col = col * 26 + (ref.at(i).toUpper().unicode() - 'A' + 1);
    return {ref.mid(i).toInt(), col};
}

} // namespace

QString part(const QString &workbook, const QString &name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), workbook, name});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

std::map<int, std::map<int, Cell>> sheetCells(const QString &workbook)
{
    std::map<int, std::map<int, Cell>> cells;
    QXmlStreamReader xml(part(workbook, QStringLiteral("xl/worksheets/sheet1.xml")));
    Cell *current = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            const auto [row, col] = position(xml.attributes().value("r").toString());
            current = &cells[row][col];
            current->kind = xml.attributes().value("t").toString();
            if (current->kind.isEmpty())
                current->kind = QStringLiteral("n");
        } else if (current &&
                   (xml.name() == QLatin1String("v") || xml.name() == QLatin1String("t"))) {
            current->text += xml.readElementText();
        }
    }
    return cells;
}

} // namespace xlsxparts
