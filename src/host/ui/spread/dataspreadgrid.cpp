#include "host/ui/spread/dataspreadgrid.h"

#include "host/ui/spread/spreadmodel.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace host::ui {

DataSpreadGrid::DataSpreadGrid(QWidget *parent) : SpreadGrid(parent)
{
    setWidthUnit(WidthUnit::Characters);
    connect(this, &SpreadGrid::Change, this, &DataSpreadGrid::CellEdited);
}

QString DataSpreadGrid::Clip() const
{
    const CellBlock block = addressBlock();
    const int c1 = block.allCols ? 1 : block.col1;
    const int c2 = block.allCols ? MaxCols() : std::min(block.col2, MaxCols());
    const int r1 = block.allRows ? 1 : block.row1;
    const int r2 = block.allRows ? MaxRows() : std::min(block.row2, MaxRows());
    QStringList rows;
    for (int row = r1; row <= r2; ++row) {
        QStringList cells;
        for (int col = c1; col <= c2; ++col)
            cells << spreadModel().cellValue(col, row);
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QStringLiteral("\r\n"));
}

void DataSpreadGrid::setClip(const QString &text)
{
    const CellBlock block = addressBlock();
    const int c1 = block.allCols ? 1 : block.col1;
    const int c2 = block.allCols ? MaxCols() : block.col2;
    const int r1 = block.allRows ? 1 : block.row1;
    const int r2 = block.allRows ? MaxRows() : block.row2;
    const QStringList rows = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (qsizetype i = 0; i < rows.size() && r1 + i <= r2; ++i) {
        const QStringList cells = rows.at(i).split(QLatin1Char('\t'));
        for (qsizetype j = 0; j < cells.size() && c1 + j <= c2; ++j)
            SetText(c1 + static_cast<int>(j), r1 + static_cast<int>(i), cells.at(j));
    }
}

int DataSpreadGrid::SortKey(int n) const
{
    const auto it = m_sortKeys.find(n);
    return it == m_sortKeys.end() ? 0 : it->second;
}

void DataSpreadGrid::setSortKey(int n, int col)
{
    m_sortKeys[n] = col;
}

int DataSpreadGrid::SortKeyOrder(int n) const
{
    const auto it = m_sortOrders.find(n);
    return it == m_sortOrders.end() ? 0 : it->second;
}

void DataSpreadGrid::setSortKeyOrder(int n, int order)
{
    m_sortOrders[n] = order;
}

void DataSpreadGrid::Sort(int, int row, int, int row2)
{
    std::vector<std::pair<int, int>> keys;
    for (const auto &[n, key] : m_sortKeys) {
        const int order = SortKeyOrder(n);
        if (key > 0 && order > 0)
            keys.emplace_back(key, order);
    }
    const int first = row < 0 ? 1 : row;
    const int last = row2 < 0 ? MaxRows() : row2;
    spreadModel().sortRows(first, last, keys);
}

} // namespace host::ui
