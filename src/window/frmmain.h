#pragma once

#include "host/ui/form/form.h"
#include "window/sheetfinder.h"

#include "countsheet/countline.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CountLineSave;
class ICBackupInv;
class MainDo;
class frmFind;
class frmSelect;
class QAction;
class QMenu;

namespace host {
class Dictionary;
namespace ui {
struct CellRefusal;
class ComboBoxControl;
class Label;
class LedgerGrid;
class PictureBox;
class SpreadGrid;
class StatusBarControl;
class TimerControl;
class TitleBand;
class Tool;
class ToolBarControl;
} // namespace ui
} // namespace host

// The count-sheet window, in one of three modes chosen by ShowType: 4 input (counted
// quantities typed into the entry grid vsCheck and saved), 1 report (differences and the gain
// and loss bills, in the ledger view ldgCheck) and 3 print (the count book, in the ledger view).
// The window owns its engine (MainDo) and process store; every query, fill and total goes
// through them. Menu items and tools run the same handlers, the mnu..._Click members.
class frmMain : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    void ShowType(long value);

    // Start-up and layout
    void InitCaptions();
    void InitShowType();
    void BuildColTypes();
    void BuildQueryColumns();
    void ArrangeControls();
    void SetToolbarLabels();
    void ShowHelpTopic();
    void LoadSaveGridColWidth(host::ui::SpreadGrid &grid, bool save);
    void LoadLdgColWidth();
    void SaveLdgColWidth();
    void LoadLedgerColHide();
    void SaveLedgerColHide();

    // Processes and the sheet
    void ListStock();
    void lstStock_Click();
    void FillGrid(const std::string &sFilter);
    void ClearGrid();
    void ResetTotals();
    void ldgCheck_SortColumn();
    void ldgCheck_FetchRow(int Row, QString &Text, long &BackColor);

    // Entry-grid editing
    void vsCheck_Change(int Col, int Row);
    void vsCheck_EditMode(int Col, int Row, int Mode, bool ChangeMade);
    void vsCheck_EditError(int Col, int Row, const host::ui::CellRefusal &Refusal);
    void SumTotalsRow();
    void vsCheck_HeaderClick(int Col, int Row);
    void vsCheck_RowActivate();
    void vsCheck_KeyPress(int &KeyAscii);
    void vsCheck_LeaveCell(int Col, int Row, int NewCol, int NewRow, bool &Cancel);
    void HighlightRow(int row, bool paint);
    void ClearHighlight(host::ui::SpreadGrid &grid);
    // Makes the first line's cell that takes a count the entry grid's current cell.
    void activateFirstCount();
    // Fills the entry grid again from the sheet, in the given sort (empty: as it is), with no
    // line marked; the sheet is read again first when a save has changed the database since.
    void RefillEntryGrid(const std::string &sort = {});

    // Saving. Declined: the user answered No and the changes stay unsaved; Failed: a line was
    // refused or the database failed, which the user has been shown.
    enum class SaveResult
    {
        Saved,
        Declined,
        Failed
    };
    SaveResult SaveStockData(bool bAsk);
    // Reads the row's line, keeps it as the current line and checks it; a line that passes is
    // added to the save. 0, or the code of the check it failed.
    long GetRowData(int row, CountLineSave &save);
    // The statements that store the row's line with the quantities of the bills selected for
    // it; nothing, after the user was told why, when the line refuses them.
    std::optional<std::string> BillLineSQL(int row, double diffQty, double secDiffQty);
    // Shows the line in focus with the bill quantities the select-bills window stored with it.
    void FillDiffQty();
    // The select-bills window calculated: its sums go into the line in focus, then it closes.
    void mfrmSelect_CalFactQty();

    // Tool bar
    void barlist_ToolClick(host::ui::Tool *Tool);
    void barlist_CancelDefault(bool &Cancel);
    void Timer1_Timer();
    void PIC1_Resize();

    // Menu commands
    void mnuFSave_Click();
    void mnuFOutBill_Click();
    void mnuFOutLossBill_Click();
    void mnuFPrint_Click();
    void mnuFPrintPreview_Click();
    void mnuFPrintSetup_Click();
    void mnuFileOut_Click();
    void mnuFileIn_Click();
    void mnuFExit_Click();
    void mnuEdit_Find_Click();
    void mnuEdit_Sort_Click();
    void mnuEdit_Filter_Click();
    void mnuAddItem_Click();
    void mnuSubItem_Click();
    void mnuVViewHide_Click();
    void mnuVSelectBill_Click();
    void mnuVSelectData_All_Click();
    void mnuVSelectData_Checked_Click();
    void mnuToolBar_Click();
    void mnuStatusBar_Click();
    void mnuViewLable_Click();
    void mnuViewShowDeleted_Click();
    void mnuShowCloseProc_Click();
    void mnuAlertSame_Click();
    void mnuView_Refresh_Click();
    void mnuHContents_Click();
    void mnuFormatPageSetup_Click();

    // Bills, printing and find
    void OutputCheckBill(long kind);
    // A host system value as text; DefaultValue when it cannot be read.
    std::string GetValue(const std::string &FCategory, const std::string &FKey,
                         const std::string &DefaultValue);
    void PrepareLedgerPrint();
    void frmF_FindNow(long SearchMode, long MatchMode);
    // The find dialog, made on first use and kept with the window.
    frmFind &findDialog();

    // Controls
    host::ui::ToolBarControl *barlist;
    host::ui::TitleBand *titBar;
    host::ui::Label *Label1;
    host::ui::ComboBoxControl *lstStock;
    host::ui::Label *labCheckDate;
    host::ui::PictureBox *PIC1;
    host::ui::LedgerGrid *ldgCheck;
    host::ui::SpreadGrid *vsCheck;
    host::ui::StatusBarControl *staBar;
    host::ui::TimerControl *Timer1;

    // Menu items; a sub-menu is its menu's action.
    QAction *mnuFile, *mnuFSave, *mnuFOutBill, *mnuFOutLossBill, *mnuFSpace, *mnuFPrint,
        *mnuFPrintPreview, *mnuFPrintSetup, *mnuFStep, *mnuFileOut, *mnuFileIn, *mnuS2, *mnuFExit;
    QAction *mnuEdit, *mnuEdit_Find, *mnuEdit_Sort, *mnuEdit_Filter, *mnuASItem, *mnuAddItem,
        *mnuSubItem, *mnuEdit_SS, *mnuEdit_DeleteRow;
    QAction *mnuView, *mnuVViewHide, *mnuVSelectBill, *mnuVSpace, *mnuVSelectData,
        *mnuVSelectData_All, *mnuVSelectData_Checked, *mnuVSS, *mnuToolBar, *mnuStatusBar,
        *mnuViewLable, *mnuEditSp, *mnuViewShowDeleted, *mnuShowCloseProc, *mnuAlertSame, *mnusp,
        *mnuView_Refresh;
    QAction *mnuFormat, *mnuFormatPageSetup, *mnuFormatTitleFont, *mnuFormatFont,
        *mnuFormatResetColWidth;
    QAction *mnuHelp, *mnuHContents, *mnuHSep1, *mnuHAbout;

    // View flags, named after their settings keys.
    bool bShowtoolbar = true;
    bool bShowToolBarLable = true;
    bool bShowStatBar = true;
    bool bShowDeleted = false;

    // Window state the commands share.
    bool mModified = false;
    std::vector<bool> mRowChanged; // element r - 1 marks entry-grid row r
    long mDataView = 0;            // 0 all lines, 1 the counted-data view
    std::string mFindFilter;
    std::string mFindSort;
    std::shared_ptr<host::Dictionary> DicupInfo;
    frmSelect *mfrmSelect = nullptr; // the select-bills window while it is shown
    std::shared_ptr<host::Dictionary> mWarnedProcs;
    std::vector<long> mCellColors{0}; // index 0 only: nothing saved

    MainDo &mainDo() const { return *m_mainDo; }

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_KeyPress(int &KeyAscii) override;

private:
    // A row's values of the columns the totals row sums, by column.
    using RowValues = std::array<double, EntryCol::kCount + 1>;

    void createControls();
    void createMenus();
    void setGridCaptions();
    void buildToolBar();
    void connectEvents();
    void applyModeVisibility();
    void enableSelectBill(bool enabled);
    // After the entry grid was filled again, when the cell the user was in (col, row) is on no
    // line of it: the same column of the last line, or the first count when there was none.
    void keepCurrentOnALine(int col, int row);
    void setListCommandsEnabled(bool enabled);
    void setDataViewChecks(bool allData);
    void setShowCloseProc(bool show);
    // Puts the list back on the process shown, raising no choice; no entry is chosen when that
    // process is not listed.
    void selectShownProcess();
    // Gives the keys to the entry grid, in the cell the user was in when its line is still
    // unsaved, else on the first unsaved line.
    void returnToUnsavedLine();
    void reloadCurrentView();
    bool isLedgerMode() const;
    void fillLedger();
    RowValues summedValues(int row) const;
    // Moves the totals row by what the row's summed values changed since `before`.
    void moveTotals(int row, const RowValues &before);

    void showFilterDialog(long tab);

    std::unique_ptr<MainDo> m_mainDo;
    std::unique_ptr<frmFind> frmF;
    SheetFinder m_finder;
    std::unique_ptr<ICBackupInv> m_backupInv;
    bool m_fetchBusy = false;
    bool m_sheetStale = false;   // a save wrote lines since the sheet was read
    std::string m_lastCondition; // the extra condition of the last read
    std::optional<std::string> m_sortOverride;
    int m_highlightRow = 0;
    int m_mtoColumn = 0;
    // The summed values of the row being edited, taken before the edit, so the totals row
    // moves by the edit's difference without re-summing the sheet.
    int m_rowBeforeEdit = 0;
    RowValues m_valuesBeforeEdit{};
};
