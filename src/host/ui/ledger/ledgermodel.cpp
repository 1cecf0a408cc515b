#include "host/ui/ledger/ledgermodel.h"

#include "host/ui/form/olecolor.h"

#include <QBrush>

namespace host::ui {

namespace {

constexpr int kTitleRows = 2;

} // namespace

LedgerModel::LedgerModel(QObject *parent) : QAbstractTableModel(parent) {}

void LedgerModel::setRows(int rows)
{
    beginResetModel();
    m_rows = std::max(rows, kTitleRows);
    m_cache.clear();
    endResetModel();
}

void LedgerModel::setCols(int cols)
{
    beginResetModel();
    m_cols = std::max(cols, 0);
    m_quantity.resize(static_cast<std::size_t>(m_cols) + 1, false);
    endResetModel();
}

void LedgerModel::setFixedRows(int rows)
{
    m_fixedRows = std::clamp(rows, 1, kTitleRows);
    if (m_cols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

LedgerModel::RowText &LedgerModel::row(int number) const
{
    const auto found = m_cache.find(number);
    if (found != m_cache.end())
        return found->second;
    QString text;
    long backColor = -1;
    if (m_fetcher)
        m_fetcher(number, text, backColor);
    RowText &entry = m_cache[number];
    entry.cells = text.split(QLatin1Char('|'));
    entry.backColor = backColor;
    return entry;
}

QStringList LedgerModel::rowCells(int rowNumber, long &backColor) const
{
    backColor = -1;
    if (rowNumber < 1 || rowNumber > m_rows)
        return {};
    const auto found = m_cache.find(rowNumber);
    if (found != m_cache.end()) {
        backColor = found->second.backColor;
        return found->second.cells;
    }
    QString text;
    if (m_fetcher)
        m_fetcher(rowNumber, text, backColor);
    return text.split(QLatin1Char('|'));
}

QString LedgerModel::cellText(int rowNumber, int col) const
{
    if (rowNumber < 1 || rowNumber > m_rows || col < 1)
        return {};
    const QStringList &cells = row(rowNumber).cells;
    return col <= cells.size() ? cells.at(col - 1) : QString();
}

void LedgerModel::setCellText(int rowNumber, int col, const QString &text)
{
    if (rowNumber < 1 || rowNumber > m_rows || col < 1)
        return;
    QStringList &cells = row(rowNumber).cells;
    while (cells.size() < col)
        cells << QString();
    cells[col - 1] = text;
}

long LedgerModel::rowBackColor(int rowNumber) const
{
    if (rowNumber < 1 || rowNumber > m_rows)
        return -1;
    return row(rowNumber).backColor;
}

void LedgerModel::setQuantityColumn(int col, bool on)
{
    if (col >= 1 && col <= m_cols)
        m_quantity[static_cast<std::size_t>(col)] = on;
}

bool LedgerModel::isQuantityColumn(int col) const
{
    return col >= 1 && col <= m_cols && m_quantity[static_cast<std::size_t>(col)];
}

void LedgerModel::refresh()
{
    if (rowCount() > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, m_cols - 1));
    if (m_cols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
}

int LedgerModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - kTitleRows;
}

int LedgerModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant LedgerModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int rowNumber = index.row() + kTitleRows + 1;
    const int col = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return cellText(rowNumber, col);
    case Qt::BackgroundRole: {
        const long color = rowBackColor(rowNumber);
        return color < 0 ? QVariant() : QBrush(fromOleColor(color));
    }
    case Qt::TextAlignmentRole:
        if (isQuantityColumn(col))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant LedgerModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const QString top = cellText(1, section + 1);
    const QString bottom = m_fixedRows > 1 ? cellText(2, section + 1) : QString();
    return bottom.trimmed().isEmpty() ? top : top + QLatin1Char('\n') + bottom;
}

} // namespace host::ui
