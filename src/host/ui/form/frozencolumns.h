#pragma once

#include <functional>
#include <memory>

class QModelIndex;
class QTableView;

namespace host::ui {

// The leading columns of a table view kept in view whatever its horizontal scroll, as a
// spreadsheet freezes panes: a second view over the same model, selection and delegate, laid
// over the view's left edge and showing those columns only. It follows the view's column widths,
// hidden columns, row heights and vertical scroll; a click on it acts on the view, which keeps
// the focus. It shows as many of the columns as fit in four fifths of the view, so there is
// room left to scroll in. The view scrolls from column edge to column edge, so no column shows
// cut beside the frozen ones.
//
// The view hands on what it alone knows of: its scrollTo(), its moveCursor() (a move by keys),
// its updateGeometries() (layout), and an edit of a frozen cell, which it makes in place with
// the overlay set aside.
class FrozenColumns
{
public:
    explicit FrozenColumns(QTableView &view);
    ~FrozenColumns();
    FrozenColumns(const FrozenColumns &) = delete;
    FrozenColumns &operator=(const FrozenColumns &) = delete;

    int count() const { return m_count; }
    // Freezes the model's columns 0 to count - 1; 0 freezes none.
    void setCount(int count);
    // Whether the overlay shows the column now.
    bool covers(int column) const;
    // The view's scroll to the index, run by viewScroll: a frozen one then keeps the horizontal
    // scroll it had, any other comes out from under the overlay, within the view.
    void scrollTo(const QModelIndex &index, const std::function<void()> &viewScroll);
    // A move by keys from one cell to another, before it is made: Home, or a move from the
    // scrolled columns into the frozen ones, shows the first columns again.
    void moveByKeys(const QModelIndex &from, const QModelIndex &to, bool home);
    void layout();
    // While the view edits a frozen cell in place: the overlay is set aside and the view shows
    // its first columns.
    void setAside(bool aside);
    bool isSetAside() const { return m_setAside; }

private:
    // How many of the leading columns the overlay shows, and the width of the view's viewport
    // they cover; 0 when it does not show.
    int shownCount() const;
    int coveredWidth() const;
    // The horizontal scroll that puts the edge of the first column at or after `value` (before,
    // when `down`) against the overlay's right edge; value itself when no column edge is there.
    int alignedScroll(int value, bool down = false) const;
    void keepInView(const QModelIndex &index, int horizontalBefore);
    void createOverlay();
    void syncColumns();

    QTableView &m_view;
    std::unique_ptr<QTableView> m_overlay;
    int m_count = 0;
    int m_shown = 0;
    bool m_setAside = false;
    bool m_syncing = false;
};

} // namespace host::ui
