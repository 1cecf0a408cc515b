// Work in the entry grid: an edited quantity recomputes its line and the totals row, marks the
// line for saving; header clicks sort; the row in focus feeds the current-line values.
#include "window/frmmain.h"

#include "countsheet/countlinecalc.h"
#include "countsheet/countlinegrid.h"
#include "countsheet/maindo.h"
#include "dialogs/currentline.h"
#include "dialogs/refusaltext.h"
#include "dialogs/sheetdialogsstate.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "host/ui/toolbar/tool.h"
#include "host/ui/toolbar/toolbarcontrol.h"
#include "services/langtext.h"

#include <QAction>

#include <algorithm>

namespace {

namespace C = EntryCol;

constexpr long kHighlightColor = 0x80C0FF;

} // namespace

frmMain::RowValues frmMain::summedValues(int row) const
{
    const host::ui::SpreadModel &model = vsCheck->spreadModel();
    RowValues values{};
    for (const EntryColumn &column : entryColumns())
        if (column.summed)
            values[static_cast<std::size_t>(column.col)] = model.cellNumber(column.col, row);
    return values;
}

void frmMain::vsCheck_EditMode(int Col, int Row, int Mode, bool ChangeMade)
{
    (void)Col, (void)ChangeMade;
    if (Mode != 1)
        return;
    // What a refused cell takes stays on the status bar until the next edit.
    staBar->Panels(1).setText(langText("就绪"));
    if (Row >= 1 && Row < vsCheck->MaxRows()) {
        m_rowBeforeEdit = Row;
        m_valuesBeforeEdit = summedValues(Row);
    }
}

void frmMain::vsCheck_EditError(int Col, int Row, const host::ui::CellRefusal &Refusal)
{
    (void)Row;
    staBar->Panels(1).setText(refusalText(vsCheck->GetText(Col, 0), Refusal));
}

void frmMain::vsCheck_Change(int Col, int Row)
{
    mModified = true;
    if (Row < 1 || Row >= vsCheck->MaxRows() || !editFeedsSave(Col))
        return;
    CountLine line = readCountLineNumbers(*vsCheck, Row);
    const ColumnSet written = recomputeLine(line, Col);
    writeCountLine(*vsCheck, Row, line, written);
    keepCurrentLine(line);
    mRowChanged.at(static_cast<std::size_t>(Row - 1)) = true;
    if (Col == C::Note)
        return;
    if (m_rowBeforeEdit == Row)
        moveTotals(Row, m_valuesBeforeEdit);
    else
        SumTotalsRow();
    m_rowBeforeEdit = Row;
    m_valuesBeforeEdit = summedValues(Row);
}

void frmMain::moveTotals(int row, const RowValues &before)
{
    host::ui::SpreadModel &model = vsCheck->spreadModel();
    const int totalsRow = vsCheck->MaxRows();
    const RowValues now = summedValues(row);
    for (const EntryColumn &column : entryColumns()) {
        const auto i = static_cast<std::size_t>(column.col);
        if (!column.summed || now[i] == before[i])
            continue;
        model.setCellNumber(column.col, totalsRow,
                            model.cellNumber(column.col, totalsRow) + now[i] - before[i]);
    }
}

void frmMain::SumTotalsRow()
{
    host::ui::SpreadModel &model = vsCheck->spreadModel();
    const int totalsRow = vsCheck->MaxRows();
    RowValues sums{};
    for (int row = 1; row < totalsRow; ++row) {
        const RowValues values = summedValues(row);
        for (std::size_t i = 0; i < sums.size(); ++i)
            sums[i] += values[i];
    }
    for (const EntryColumn &column : entryColumns())
        if (column.summed)
            model.setCellNumber(column.col, totalsRow, sums[static_cast<std::size_t>(column.col)]);
}

void frmMain::vsCheck_HeaderClick(int Col, int Row)
{
    if (Row != 0 || Col < EntryCol::StockNumber || Col > EntryCol::Qty)
        return;
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    const auto &columns = sheetDialogsState().gQueryColumns;
    const auto found = std::find_if(columns.begin(), columns.end(),
                                    [Col](const QueryColumn &q) { return q.ColumnKey == Col; });
    const std::shared_ptr<host::Recordset> rs = m_mainDo->p_RSMain;
    if (found == columns.end() || !rs)
        return;
    const std::string current = rs->Sort();
    const bool descending = current.find(found->FieldName + " ") != std::string::npos &&
                            current.find(" ASC") != std::string::npos;
    RefillEntryGrid(found->FieldName + (descending ? " DESC" : " ASC"));
}

void frmMain::RefillEntryGrid(const std::string &sort)
{
    // After a save the sheet in memory holds the counts as they were read; those would come
    // back into the grid and go out again with the next save. The sheet is read again then.
    if (m_sheetStale) {
        m_sortOverride = sort;
        FillGrid(m_lastCondition);
        m_sortOverride.reset();
        return;
    }
    if (!sort.empty())
        m_mainDo->p_RSMain->Sort(sort);
    m_mainDo->InputFillRow(*vsCheck);
    mModified = false;
    mRowChanged.assign(static_cast<std::size_t>(std::max(0, vsCheck->MaxRows() - 1)), false);
    m_rowBeforeEdit = 0;
}

void frmMain::vsCheck_RowActivate()
{
    if (readCountLineNumbers(*vsCheck, vsCheck->ActiveRow()).itemId > 0)
        enableSelectBill(true);
}

void frmMain::vsCheck_KeyPress(int &KeyAscii)
{
    if (vsCheck->ActiveCol() == C::CUUnitName)
        KeyAscii = 0;
}

void frmMain::vsCheck_LeaveCell(int Col, int Row, int NewCol, int NewRow, bool &Cancel)
{
    (void)Col, (void)NewCol, (void)Cancel;
    SheetDialogsState &dialogs = sheetDialogsState();
    const CountLine line = readCountLine(*vsCheck, NewRow);
    dialogs.gCurItemID = line.itemId;
    dialogs.gCurItemNumber = line.itemNumber;
    HighlightRow(Row, false);
}

void frmMain::HighlightRow(int row, bool paint)
{
    const int cols = vsCheck->MaxCols();
    if (row == vsCheck->MaxRows())
        return;
    vsCheck->setBlockMode(false);
    if (paint) {
        mCellColors.assign(static_cast<std::size_t>(cols) + 1, 0);
        for (int c = 1; c <= cols; ++c) {
            vsCheck->setCol(c);
            vsCheck->setRow(row);
            mCellColors[static_cast<std::size_t>(c)] = vsCheck->BackColor();
        }
        vsCheck->setBlockMode(true);
        vsCheck->setCol(1);
        vsCheck->setCol2(cols);
        vsCheck->setRow(row);
        vsCheck->setRow2(row);
        vsCheck->setBackColor(kHighlightColor);
        vsCheck->setForeColor(0);
        vsCheck->setBlockMode(false);
        m_highlightRow = row;
        return;
    }
    if (mCellColors.size() <= 1 || row != m_highlightRow)
        return;
    for (int c = 1; c <= cols && c < static_cast<int>(mCellColors.size()); ++c) {
        vsCheck->setCol(c);
        vsCheck->setRow(row);
        vsCheck->setBackColor(mCellColors[static_cast<std::size_t>(c)]);
        vsCheck->setForeColor(0);
    }
}

void frmMain::ClearHighlight(host::ui::SpreadGrid &grid)
{
    // Only the highlighted row was painted; the other rows keep their own colours.
    if (&grid == vsCheck && m_highlightRow > 0)
        HighlightRow(m_highlightRow, false);
    m_highlightRow = 0;
}
