#pragma once

#include "host/core/variant.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace host {
class Dictionary;
class Recordset;
class Vector;
namespace ui {
class LedgerGrid;
class SpreadGrid;
} // namespace ui
} // namespace host

// A cell of a ledger row: its text as shown, and for a number column the number it shows.
struct LedgerCell
{
    std::string text;
    std::optional<double> number;
};

// The engine behind the count sheet. The entry class creates one per count-sheet command and
// calls Show; the count-sheet window creates its own and uses the rest: the count-sheet query,
// the entry-grid fill, the ledger rows and totals, the column widths and the bill request.
// The ledger handed to Ldg is the window's; the engine only refers to it and must not outlive it.
class MainDo
{
public:
    // Binds the settings store to its file, parses the host context string and reads the
    // plan-tracking option.
    MainDo();
    ~MainDo();
    MainDo(const MainDo &) = delete;
    MainDo &operator=(const MainDo &) = delete;

    // The current count-sheet recordset, filled by GetRsMain.
    std::shared_ptr<host::Recordset> p_RSMain;

    // The filter dialog's field lists of a sheet type: "FilterString", "SortString" and one
    // entry per caption, "FColName|FItemClassID|FColType".
    std::shared_ptr<host::Dictionary> GetHeadString(long vType);
    void ShowDelete(bool vData) { m_ShowDelete = vData; }
    void Ldg(host::ui::LedgerGrid *NewValue) { m_Ldg = NewValue; }

    // The count-sheet command: filter dialog or filter reset, the backed-up check, then the
    // count-sheet window. Traps nothing.
    void Show(long s_ShowTye, long s_OptionTab = 0);

    // Ledger rows: the captions of gColumns, and row lRow (3 on) of the sheet or the totals.
    std::string TRowData(long lRow) const;
    std::string DRowData(long lRow, long *BackColor = nullptr);
    std::vector<LedgerCell> DRowCells(long lRow, long *BackColor = nullptr);
    // The twelve totals over the sheet, each line rounded to its item's decimals first.
    void GetSumData();
    // NumValue rounded to RScale decimals, halves away from zero, on its 15-digit decimal form.
    static double QelRound(const host::Variant &NumValue, long RScale);

    std::shared_ptr<host::Recordset> GetBackupStockList();
    std::shared_ptr<host::Recordset> GetRSInStock(long StockID);
    std::shared_ptr<host::Recordset> GetRSHeader();

    // The column template of the show type into gColumns and the ledger; widths written back.
    void ResizeColWidth();
    void SaveColWidth();

    // Asks the host to make the gain (1) or loss (2) bill of gCurInterID: -1 made (vBillNo is
    // its id), -2 none made, -99 failed.
    long OutCheckBill(long vBillType, long &vBillNo);

    std::shared_ptr<host::Recordset> GetRsMain(long ProcID, const std::string &strFilter = {},
                                               long Range = 0,
                                               const host::Dictionary *vDictOption = nullptr);

    // Fills the entry grid from p_RSMain in its current sort and filter, with the totals row.
    void InputFillRow(host::ui::SpreadGrid &vsGrid);

    // The serial-number alert over the item descriptions: 1 when the user goes on with the
    // other items, 0 otherwise. Offered for the bill output; no command opens it yet.
    static long ShowSNAlert(const std::shared_ptr<host::Vector> &items);

private:
    // p_RSMain; an error when there is none.
    host::Recordset &sheet() const;
    std::vector<LedgerCell> dataRow(long lRow);
    std::vector<LedgerCell> totalsRow(long *BackColor);

    bool m_ShowDelete = false;
    host::ui::LedgerGrid *m_Ldg = nullptr;
};
