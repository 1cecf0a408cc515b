#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <unordered_map>

namespace host::ui {

// The rows of a ledger grid. The grid holds no data of its own: it asks its owner for a row's
// text ("|" after each cell) when the row is first shown, printed or read, and keeps what it
// got, together with the cell texts written into it, until its row count is set again.
// Ledger rows count from 1; rows 1 and 2 are the title rows, data rows follow from row 3.
class LedgerModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Row, text (preset to what the grid holds), back colour (-1: none).
    using Fetcher = std::function<void(int row, QString &text, long &backColor)>;

    explicit LedgerModel(QObject *parent = nullptr);

    void setFetcher(Fetcher fetcher) { m_fetcher = std::move(fetcher); }

    int rows() const { return m_rows; }
    // Setting the row count forgets every row text, so the rows are asked for again.
    void setRows(int rows);
    int cols() const { return m_cols; }
    void setCols(int cols);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int rows);

    QString cellText(int row, int col) const;
    // A row's cells without keeping them: what the grid holds, or else the owner's answer,
    // so that printing a long sheet holds one row at a time.
    QStringList rowCells(int row, long &backColor) const;
    void setCellText(int row, int col, const QString &text);
    // -1 when the owner gave the row no colour.
    long rowBackColor(int row) const;
    // The column's cells are numbers: shown aligned right.
    void setQuantityColumn(int col, bool on);
    bool isQuantityColumn(int col) const;

    // Repaints from what the grid holds.
    void refresh();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct RowText
    {
        QStringList cells;
        long backColor = -1;
    };
    RowText &row(int number) const;

    Fetcher m_fetcher;
    int m_rows = 2;
    int m_cols = 0;
    int m_fixedRows = 1;
    mutable std::unordered_map<int, RowText> m_cache;
    std::vector<bool> m_quantity;
};

} // namespace host::ui
