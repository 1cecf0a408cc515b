#pragma once

#include "host/ui/spread/spreadgrid.h"

#include <map>

namespace host::ui {

// Stand-in of the vendor's later, data-bound spreadsheet grid: the spread grid's members plus
// block text (Clip), sorting by key columns and the CellEdited event. Its column widths are in
// characters, as that grid measures them.
class DataSpreadGrid : public SpreadGrid
{
    Q_OBJECT

public:
    explicit DataSpreadGrid(QWidget *parent = nullptr);

    // The addressed block as text: cells separated by tabs, rows by CR LF. Writing fills the
    // block from the top left cell; program writes raise no Change.
    QString Clip() const;
    void setClip(const QString &text);

    // Sort key n (from 1): the column, and 1 ascending or 2 descending.
    int SortKey(int n) const;
    void setSortKey(int n, int col);
    int SortKeyOrder(int n) const;
    void setSortKeyOrder(int n, int order);
    // Sorts rows row..row2 (-1: every row) by the sort keys; rows move whole, with their
    // settings, whatever columns the block names.
    void Sort(int col, int row, int col2, int row2);

signals:
    // The user finished an edit that changed the cell.
    void CellEdited(int Col, int Row);

private:
    std::map<int, int> m_sortKeys;
    std::map<int, int> m_sortOrders;
};

} // namespace host::ui
