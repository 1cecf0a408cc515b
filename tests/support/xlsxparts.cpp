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

std::vector<QString> sharedStrings(const QString &workbook)
{
    std::vector<QString> strings;
    QXmlStreamReader xml(part(workbook, QStringLiteral("xl/sharedStrings.xml")));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("si"))
            strings.push_back(QString());
        else if (xml.name() == QLatin1String("t") && !strings.empty())
            strings.back() += xml.readElementText();
    }
    return strings;
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
    const std::vector<QString> strings = sharedStrings(workbook);
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
            const QString text = xml.readElementText();
            current->text += current->kind == QLatin1String("s")
                                 ? strings.at(static_cast<size_t>(text.toInt()))
                                 : text;
        }
    }
    return cells;
}

} // namespace xlsxparts
