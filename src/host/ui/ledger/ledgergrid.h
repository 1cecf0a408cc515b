#pragma once

#include "host/ui/form/frozencolumns.h"
#include "host/ui/form/twipsgeometry.h"

#include <QTableView>

#include <map>
#include <memory>
#include <vector>

namespace host::ui {

class LedgerModel;
class LedgerPrinter;

// Stand-in of the host ledger grid: a grid that holds no data and asks its owner for each
// row's text through FetchRow, shows rows 1 (and 2) as its title, and prints itself. Rows
// and columns count from 1; data rows start at row 3. Widths are in twips.
//
// Face members by the control's dispatch numbers: 1 Rows, 2 Cols, 3 FixedRows, 8 BackColor,
// 10 Row, 11 Col. Column members: 1 Width, 5 Style, 8 Switch.
class LedgerGrid : public QTableView, public TwipsGeometry
{
    Q_OBJECT

public:
    // The grid face: layout and the cell last clicked.
    class FaceRef
    {
    public:
        int Rows() const;
        // 2 empties the grid; any value makes it ask for every row again.
        void setRows(int rows);
        int Cols() const;
        void setCols(int cols);
        int FixedRows() const;
        void setFixedRows(int rows);
        int Row() const;
        int Col() const;
        long BackColor() const;
        void setBackColor(long color);
        void Recalculate();

    private:
        friend class LedgerGrid;
        explicit FaceRef(LedgerGrid &grid) : m_grid(&grid) {}
        LedgerGrid *m_grid;
    };

    class ColumnRef
    {
    public:
        double Width() const;
        void setWidth(double twips);
        // Switch 16 is the hidden switch; other switches are kept and have no effect.
        bool Switch(int index) const;
        void setSwitch(int index, bool on);
        // Style 1 marks a quantity column, shown as numbers.
        int Style() const;
        void setStyle(int style);

    private:
        friend class LedgerGrid;
        ColumnRef(LedgerGrid &grid, int col) : m_grid(&grid), m_col(col) {}
        bool valid() const;
        LedgerGrid *m_grid;
        int m_col;
    };

    class CellRef
    {
    public:
        // Asks the owner for the row when the grid does not hold it yet.
        QString Text() const;
        void setText(const QString &text);

    private:
        friend class LedgerGrid;
        CellRef(LedgerGrid &grid, int row, int col) : m_grid(&grid), m_row(row), m_col(col) {}
        LedgerGrid *m_grid;
        int m_row;
        int m_col;
    };

    static constexpr int HiddenSwitch = 16;

    explicit LedgerGrid(QWidget *parent = nullptr);
    ~LedgerGrid() override;

    FaceRef Face() { return FaceRef(*this); }
    ColumnRef Col(int col) { return ColumnRef(*this, col); }
    CellRef Cell(int row, int col) { return CellRef(*this, row, col); }
    // The current row (a ledger row number, 0 when there is none).
    int Row() const;
    void setRow(int row);
    void Refresh();
    LedgerPrinter &LedgerPrint() { return *m_printer; }
    // Columns 1 to ColsFrozen stay at the left whatever the horizontal scroll.
    int ColsFrozen() const { return m_frozen.count(); }
    void setColsFrozen(int cols) { m_frozen.setCount(cols); }

    LedgerModel &ledgerModel() const { return *m_model; }
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    // Text: the row's cells, each followed by "|"; BackColor -1 for none.
    void FetchRow(int Row, QString &Text, long &BackColor);
    // A click in the title rows; the clicked cell is the face's Row and Col.
    void SortColumn();
    // A click on a data cell, or Space on the current one, Action 1; the cell is the face's Row
    // and Col.
    void ToggleSelect(short &Action);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void cellClicked(int row, int col);
    void applyColumn(int col);

    LedgerModel *m_model;
    std::unique_ptr<LedgerPrinter> m_printer;
    std::vector<double> m_widths;
    std::vector<std::map<int, bool>> m_switches;
    std::vector<int> m_styles;
    int m_clickedRow = 0;
    int m_clickedCol = 0;
    long m_backColor = 0xFFFFFF;
    bool m_applying = false;
    FrozenColumns m_frozen{*this};
};

} // namespace host::ui
