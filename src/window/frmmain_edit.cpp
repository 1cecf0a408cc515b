// Work in the entry grid: an edited quantity recomputes its line and the totals row, marks the
// line for saving; header clicks sort; the row in focus feeds the current-line values.
#include "window/frmmain.h"

#include "countsheet/maindo.h"
#include "host/db/recordset.h"
#include "host/ui/numberformat.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/tool.h"
#include "host/ui/toolbarcontrol.h"
#include "services/modulestate.h"

#include <QAction>

#include <algorithm>

namespace {

constexpr long kHighlightColor = 0x80C0FF;
constexpr int kUnitNameColumn = 21;

double divided(double value, double by)
{
    return by == 0 ? 0 : value / by;
}

} // namespace

double frmMain::cellNumber(int col, int row) const
{
    return host::Val(vsCheck->GetText(col, row).toStdString());
}

void frmMain::setCellNumber(int col, int row, double value)
{
    vsCheck->SetText(col, row, host::ui::formatFull(value));
}

frmMain::RowValues frmMain::summedValues(int row) const
{
    RowValues values{};
    for (std::size_t i = 0; i < kSummedColumns.size(); ++i)
        values[i] = cellNumber(kSummedColumns[i], row);
    return values;
}

void frmMain::vsCheck_EditMode(int Col, int Row, int Mode, bool ChangeMade)
{
    (void)Col, (void)ChangeMade;
    if (Mode == 1 && Row >= 1 && Row < vsCheck->MaxRows()) {
        m_rowBeforeEdit = Row;
        m_valuesBeforeEdit = summedValues(Row);
    }
}

void frmMain::vsCheck_Change(int Col, int Row)
{
    ModuleState &m = module();
    mModified = true;
    if (Row < 1 || Row >= vsCheck->MaxRows())
        return;
    auto c = [&](int col) { return cellNumber(col, Row); };
    auto set = [&](int col, double value) { setCellNumber(col, Row, value); };
    switch (Col) {
    case 19: {
        const double coef = c(34);
        m.gCurCheckQty = c(19);
        m.gCurDiffQty = c(36);
        m.gCurQtyAct = m.gCurDiffQty + m.gCurCheckQty;
        set(18, m.gCurQtyAct);
        m.gCurSecCheckQty = c(31);
        m.gCurSecDiffQty = c(43);
        m.gCurSecQtyAct = m.gCurSecDiffQty + m.gCurSecCheckQty;
        set(30, m.gCurSecQtyAct);
        set(23, divided(m.gCurQtyAct, coef));
        set(24, divided(m.gCurCheckQty, coef));
        set(39, divided(m.gCurDiffQty, coef));
        break;
    }
    case 24: {
        const double coef = c(34);
        m.gCurCUUnitCheckQty = c(24);
        m.gCurCUUnitDiffQty = c(39);
        m.gCurCUUnitQtyAct = m.gCurCUUnitDiffQty + m.gCurCUUnitCheckQty;
        set(23, m.gCurCUUnitQtyAct);
        set(18, m.gCurCUUnitQtyAct * coef);
        set(19, m.gCurCUUnitCheckQty * coef);
        m.gCurSecCoefficient = c(28);
        m.gCurSecDiffQty = c(43);
        if (m.gCurSecCoefficient == 0) {
            set(31, 0);
            set(30, 0);
        } else {
            const double s = m.gCurCUUnitCheckQty * coef / m.gCurSecCoefficient;
            set(31, s);
            set(30, s + m.gCurSecDiffQty);
        }
        break;
    }
    case 28:
    case 31: {
        if (Col == 28) {
            m.gCurSecCoefficient = c(28);
            set(31, divided(c(19), m.gCurSecCoefficient));
            m.gCurSecCheckQty = c(31);
        } else {
            m.gCurSecCheckQty = c(31);
            // The rate follows from the two counted quantities.
            set(28, divided(c(19), m.gCurSecCheckQty));
            m.gCurSecCoefficient = c(28);
        }
        const double rate = m.gCurSecCoefficient;
        m.gCurSecDiffQty = c(43);
        set(30, rate == 0 ? 0 : m.gCurSecDiffQty + m.gCurSecCheckQty);
        m.gCurSecQtyAct = c(30);
        set(32, divided(c(25) * c(34), rate));
        m.gCurSecAdjQty = c(32);
        break;
    }
    case 25:
        m.gCurSecCoefficient = c(28);
        set(32, divided(c(25) * c(34), m.gCurSecCoefficient));
        m.gCurSecAdjQty = c(32);
        break;
    case 33:
        mRowChanged.at(static_cast<std::size_t>(Row - 1)) = true;
        return;
    default:
        return;
    }
    mRowChanged.at(static_cast<std::size_t>(Row - 1)) = true;
    if (m_rowBeforeEdit == Row)
        moveTotals(Row);
    else
        SumTotalsRow();
    m_rowBeforeEdit = Row;
    m_valuesBeforeEdit = summedValues(Row);
}

void frmMain::moveTotals(int row)
{
    const int totalsRow = vsCheck->MaxRows();
    const RowValues now = summedValues(row);
    for (std::size_t i = 0; i < kSummedColumns.size(); ++i) {
        if (now[i] == m_valuesBeforeEdit[i])
            continue;
        const int col = kSummedColumns[i];
        setCellNumber(col, totalsRow, cellNumber(col, totalsRow) + now[i] - m_valuesBeforeEdit[i]);
    }
}

void frmMain::SumTotalsRow()
{
    const int totalsRow = vsCheck->MaxRows();
    RowValues sums{};
    for (int row = 1; row < totalsRow; ++row)
        for (std::size_t i = 0; i < kSummedColumns.size(); ++i)
            sums[i] += cellNumber(kSummedColumns[i], row);
    for (std::size_t i = 0; i < kSummedColumns.size(); ++i)
        setCellNumber(kSummedColumns[i], totalsRow, sums[i]);
}

void frmMain::vsCheck_HeaderClick(int Col, int Row)
{
    if (Row != 0 || Col < 2 || Col > 17)
        return;
    if (SaveStockData(true) == SaveResult::Failed)
        return;
    const auto &columns = module().gQueryColumns;
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
    if (host::Val(vsCheck->GetText(1, vsCheck->ActiveRow()).toStdString()) > 0)
        enableSelectBill(true);
}

void frmMain::vsCheck_KeyPress(int &KeyAscii)
{
    if (vsCheck->ActiveCol() == kUnitNameColumn)
        KeyAscii = 0;
}

void frmMain::vsCheck_LeaveCell(int Col, int Row, int NewCol, int NewRow, bool &Cancel)
{
    (void)Col, (void)NewCol, (void)Cancel;
    ModuleState &m = module();
    m.gCurItemID = static_cast<long>(std::lround(cellNumber(1, NewRow)));
    m.gCurItemNumber = host::Trim(vsCheck->GetText(6, NewRow).toStdString());
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
