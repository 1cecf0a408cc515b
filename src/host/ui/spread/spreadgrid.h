#pragma once

#include "host/ui/spread/cellblock.h"
#include "host/ui/spread/cellrefusal.h"
#include "host/ui/spread/celltype.h"

#include "host/ui/form/frozencolumns.h"
#include "host/ui/form/pendingedit.h"
#include "host/ui/form/twipsgeometry.h"

#include <QTableView>

#include <map>
#include <utility>

namespace host::ui {

class CellEntry;
class SpreadModel;
class SpreadDelegate;

// Stand-in of the vendor spreadsheet grid, by the vendor's member names. Properties that
// concern cells (CellType, Lock, BackColor, the Type... limits, Value, Text) act on the cell
// addressed by Col and Row, or, with BlockMode on, on the block Col..Col2 x Row..Row2; -1 in
// an address means every row or every column. Row 0 is the header row, column 0 the
// row-number column. Column widths are in twips.
//
// Events: Change is raised for the user's edits only, never for the program's own writes.
class SpreadGrid : public QTableView, public TwipsGeometry, public PendingEdit
{
    Q_OBJECT

public:
    explicit SpreadGrid(QWidget *parent = nullptr);
    ~SpreadGrid() override;

    bool ReDraw() const;
    void setReDraw(bool on);
    int MaxRows() const;
    void setMaxRows(int rows);
    int MaxCols() const;
    void setMaxCols(int cols);

    int Row() const { return m_row; }
    void setRow(int row) { m_row = row; }
    int Col() const { return m_col; }
    void setCol(int col) { m_col = col; }
    int Row2() const { return m_row2; }
    void setRow2(int row) { m_row2 = row; }
    int Col2() const { return m_col2; }
    void setCol2(int col) { m_col2 = col; }
    bool BlockMode() const { return m_blockMode; }
    void setBlockMode(bool on) { m_blockMode = on; }

    host::ui::CellType CellType() const;
    void setCellType(host::ui::CellType type);
    int TypeMaxEditLen() const;
    void setTypeMaxEditLen(int length);
    // A text cell's limit in code-page bytes, as its varchar column holds; -1 for none.
    int TypeMaxEditBytes() const;
    void setTypeMaxEditBytes(int bytes);
    double TypeFloatMin() const;
    void setTypeFloatMin(double min);
    double TypeFloatMax() const;
    void setTypeFloatMax(double max);
    int TypeFloatDecimalPlaces() const;
    void setTypeFloatDecimalPlaces(int places);
    // Decimals a number cell shows, and takes typed, beyond TypeFloatDecimalPlaces where its
    // value has them, up to this many; 0 shows the decimal places only.
    int TypeFloatMoreDecimals() const;
    void setTypeFloatMoreDecimals(int places);
    bool TypeFloatSeparator() const;
    void setTypeFloatSeparator(bool on);
    // Integer cells share the number limits.
    double TypeIntegerMin() const { return TypeFloatMin(); }
    void setTypeIntegerMin(double min) { setTypeFloatMin(min); }
    double TypeIntegerMax() const { return TypeFloatMax(); }
    void setTypeIntegerMax(double max) { setTypeFloatMax(max); }
    // Items of a combo cell as one text, each item preceded by a tab.
    QString TypeComboBoxList() const;
    void setTypeComboBoxList(const QString &list);
    // Index of the combo cell's item in its list, -1 when the text is not in it.
    int TypeComboBoxCurSel() const;
    void setTypeComboBoxCurSel(int index);
    bool Lock() const;
    void setLock(bool locked);
    long BackColor() const;
    void setBackColor(long color);
    long ForeColor() const;
    void setForeColor(long color);
    bool FontBold() const;
    void setFontBold(bool bold);

    // Hidden state of the addressed column(s).
    bool ColHidden() const;
    void setColHidden(bool hidden);
    // In the grid's width unit: twips, or characters for the data-bound grid.
    double ColWidth(int col) const;
    void setColWidth(int col, double width);
    int TopRow() const;
    void setTopRow(int row);
    // Columns 1 to ColsFrozen stay at the left whatever the horizontal scroll.
    int ColsFrozen() const { return m_frozen.count(); }
    void setColsFrozen(int cols) { m_frozen.setCount(cols); }

    void SetText(int col, int row, const QString &text);
    // The cell's unformatted content: a number cell gives its full value, never the rounded
    // text it shows.
    QString GetText(int col, int row) const;
    // Of the addressed cell: the unformatted value, and the text as shown.
    QString Value() const;
    void setValue(const QString &value);
    QString Text() const;
    void setText(const QString &text) { setValue(text); }

    int ActiveRow() const;
    int ActiveCol() const;
    void SetActiveCell(int col, int row);

    SpreadModel &spreadModel() const { return *m_model; }
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    bool endEdit() override;

signals:
    void Change(int Col, int Row);
    void Click(int Col, int Row);
    void HeaderClick(int Col, int Row);
    void RowActivate();
    void KeyDown(int &KeyCode, int Shift);
    void KeyPress(int &KeyAscii);
    void KeyUp(int &KeyCode, int Shift);
    void LeaveCell(int Col, int Row, int NewCol, int NewRow, bool &Cancel);
    // Mode 1 when editing of the cell starts, 0 when it ends; ChangeMade tells whether the
    // edit changed the value.
    void EditMode(int Col, int Row, int Mode, bool ChangeMade);
    void ComboSelChange(int Col, int Row);
    // A number cell refused the text the user typed, and kept its value.
    void EditError(int Col, int Row, host::ui::CellRefusal Refusal);

protected:
    enum class WidthUnit
    {
        Twips,
        // Average character widths of the grid's font.
        Characters
    };
    void setWidthUnit(WidthUnit unit) { m_widthUnit = unit; }
    double toWidthUnit(int pixels) const;
    int toPixels(double width) const;

    // The block the cell properties act on.
    CellBlock addressBlock() const;
    // The cell the property getters read.
    int addressCol() const;
    int addressRow() const;
    template <typename T, typename A> void applySetting(A &attribute, const T &value);

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A typed character opens the current cell's editor; on a cell that takes no typing it
    // raises EditError. It never moves to another row whose text begins with it.
    void keyboardSearch(const QString &search) override;

private:
    // Raises KeyDown and KeyPress; true when the key was dropped or handed on replaced.
    bool raiseKeyEvents(QObject *receiver, QKeyEvent &event);
    // Opens the list of the current cell for its key; true when it did.
    bool opensList(const QKeyEvent &event);
    void applyHidden(int col, bool hidden);

    SpreadModel *m_model;
    SpreadDelegate *m_delegate;
    CellEntry *m_entry;
    int m_row = 1;
    int m_col = 1;
    int m_row2 = 1;
    int m_col2 = 1;
    bool m_blockMode = false;
    bool m_revertingCurrent = false;
    bool m_forwardingKey = false;
    QPersistentModelIndex m_editing;
    bool m_editChanged = false;
    bool m_editRefused = false;
    // Widths in twips as set or as the user dragged them, so reading one back gives what was
    // set rather than its rounding to pixels.
    std::map<int, double> m_widths;
    bool m_settingWidth = false;
    WidthUnit m_widthUnit = WidthUnit::Twips;
    FrozenColumns m_frozen{*this};
    // The current cell (row, column from 0) and whether the grid had the keys, as a model reset
    // began.
    std::pair<int, int> m_cellBeforeReset{-1, -1};
    bool m_focusBeforeReset = false;
};

} // namespace host::ui
