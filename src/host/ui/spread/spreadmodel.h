#pragma once

#include "host/ui/spread/cellblock.h"
#include "host/ui/spread/cellrefusal.h"
#include "host/ui/spread/spreadcolumn.h"
#include "host/ui/spread/spreadsettings.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace host::ui {

// Values and settings of a spread grid. Grid numbers: row 0 is the header row, column 0 the
// row-number column, data from 1. The Qt model shows data cells only (Qt row r is grid row
// r + 1); the header row and row-number column are the view's headers.
//
// A number cell keeps the full value it was given; its decimals and grouping shape only the
// shown text.
class SpreadModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SpreadModel(QObject *parent = nullptr);

    int maxRows() const { return m_maxRows; }
    int maxCols() const { return m_maxCols; }
    // Setting 0 rows drops every value and every row and cell setting.
    void setMaxRows(int rows);
    void setMaxCols(int cols);

    SpreadSettings &settings() { return m_settings; }
    const SpreadSettings &settings() const { return m_settings; }
    // Orders setting writes: the latest write that covers a cell wins.
    std::uint32_t nextStamp() { return ++m_stamp; }
    // Repaints the cells of a block after their settings changed.
    void settingsChanged(const CellBlock &block);

    // A program write: never reported as the user's change.
    void setCellText(int col, int row, const QString &text);
    // A program write of a number: what setCellText() of the number's full text would store,
    // without making the text.
    void setCellNumber(int col, int row, double value);
    // Program writes of many cells of one column, row first + i for each i, as the writes above
    // would store them: the number values[i] each, no value leaving the cell empty; or the text
    // texts[ids[i]] each, an empty text leaving the cell empty, where the texts differ from each
    // other (each is kept once, not looked up among the column's). Rows past the last are
    // skipped.
    void setColumnNumbers(int col, int first, std::span<const std::optional<double>> values);
    void setColumnTexts(int col, int first, std::span<const QString> texts,
                        std::span<const std::uint32_t> ids);
    // The unformatted value: a number cell's full value, a combo cell's item text.
    QString cellValue(int col, int row) const;
    // The text shown in the cell.
    QString cellText(int col, int row) const;
    // The text an editor of the cell opens with: a number in the user's notation, every digit.
    QString editingText(int col, int row) const;
    bool cellIsNumber(int col, int row) const
    {
        return inRange(col, row) && column(col).isNumber(row);
    }
    // Neither a number nor a text, not even an empty one.
    bool cellIsEmpty(int col, int row) const
    {
        return !inRange(col, row) || column(col).isEmpty(row);
    }
    double cellNumber(int col, int row) const
    {
        return inRange(col, row) ? column(col).number(row) : 0.0;
    }
    // The place of a text cell's text among its column's texts (equal places, equal texts), -1
    // for other cells.
    long cellTextIndex(int col, int row) const
    {
        return inRange(col, row) ? column(col).textIndex(row) : -1;
    }
    bool isEditable(int col, int row) const;
    // The items of a combo cell.
    QStringList comboItems(int col, int row) const;

    // With redraw off, writes do not repaint; turning it on repaints once.
    bool redraw() const { return m_redraw; }
    void setRedraw(bool on);

    // Stable sort of rows first..last; each key is a column and 1 ascending or 2 descending.
    void sortRows(int first, int last, const std::vector<std::pair<int, int>> &keys);

    // The user's commit of an edit: checked against the cell's type and limits, a number read in
    // the user's notation. False, and nothing changed, when the text does not fit the cell.
    bool commitUserText(int col, int row, const QString &text);
    // Why a number cell would refuse the text; nothing when it takes it, or is no number cell.
    std::optional<CellRefusal> numberRefusal(int col, int row, const QString &text) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The user changed a cell's value (program writes never raise it).
    void userChanged(int col, int row);

private:
    bool inRange(int col, int row) const
    {
        return col >= 0 && col <= m_maxCols && row >= 0 && row <= m_maxRows;
    }
    void storeText(int col, int row, const QString &text);
    void storeNumber(int col, int row, double value);
    void cellWritten(int col, int row);
    // The last row a write of `count` rows of a column from `first` reaches (below first when it
    // reaches none), and the cell type of those rows when they are data cells that share one.
    struct ColumnRun
    {
        int last;
        std::optional<CellType> dataType;
    };
    ColumnRun columnRun(int col, int first, std::size_t count) const;
    // After writes of rows first..last of a column.
    void columnWritten(int col, int first, int last);
    SpreadColumn &column(int col) { return m_columns[static_cast<std::size_t>(col)]; }
    const SpreadColumn &column(int col) const { return m_columns[static_cast<std::size_t>(col)]; }

    int m_maxRows = 0;
    int m_maxCols = 0;
    // Columns 0..maxCols, each with rows 0..maxRows.
    std::vector<SpreadColumn> m_columns;
    SpreadSettings m_settings;
    std::uint32_t m_stamp = 0;
    bool m_redraw = true;
};

} // namespace host::ui
