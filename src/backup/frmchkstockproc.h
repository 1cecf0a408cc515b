#pragma once

#include "backup/proclistentry.h"
#include "host/core/vector.h"
#include "host/ui/form/form.h"

#include <memory>

namespace host::ui {
class DataSpreadGrid;
class StatusBarControl;
class Tool;
class ToolBarControl;
} // namespace host::ui

// The list of count processes: the user renames processes and edits their remarks in place,
// sorts by any column, and runs the commands that make, open, save and delete processes.
// Edits are collected in the change list, one entry per edited row, until a Save writes them;
// refilling the list keeps the change list.
class frmChkStockProc : public host::ui::Form
{
    Q_OBJECT

public:
    // Tool ids the commands dispatch on.
    enum ToolId : long
    {
        ToolDelete = 1,
        ToolExit = 2,
        ToolRefresh = 3,
        ToolNew = 20000,
        ToolOpen = 20001,
        ToolSave = 20003,
        ToolEdit = 20004,
        ToolOption = 20005,
        ToolStartPeriodCheck = 20006,
        ToolWithStock = 20007,
        ToolWithoutStock = 20008,
        ToolHelp = 20009,
        ToolMnuHelp = 20010
    };

    explicit frmChkStockProc(ProcListEntryFactory newEntry, QWidget *parent = nullptr);
    ~frmChkStockProc() override;

    void InitCaptions();
    void LoadProcList();

    void vsProc_Click(int Col, int Row);
    void vsProc_CellEdited(int Col, int Row);
    void barProc_ToolClick(host::ui::Tool *Tool);
    void barProc_CancelDefault(bool &flag);

    // Creates the cycle counts of the due items, one process per stock or one for all stocks.
    bool CycCheck(bool withStock);
    // True when no two rows carry the same process name.
    bool CheckProcNames();

    bool modified() const { return m_modified; }
    // The change list: dictionaries with "ProcID", "Remark" and "FID", in the order in which
    // their rows were first edited.
    const host::Vector *changeList() const { return m_changes.get(); }

    host::ui::ToolBarControl *barProc;
    host::ui::DataSpreadGrid *vsProc;
    host::ui::StatusBarControl *statusProc;

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_Unload(bool &Cancel) override;

private:
    void buildToolBar();
    void setUpColumns();
    // Makes current, and shows selected, the row of the process with this key, else the one
    // opened last, else the first; in the column given when its cell takes typing, else in the
    // first that does.
    void showCurrentRow(const QString &fid, int col);
    // The key of the process made last among those listed; 0 for none.
    long newestProcess() const;
    bool hasRight(short rightIndex) const;
    void rightMissing(const char *message) const;
    void newProcess(bool right5);
    void openProcess();
    void saveChanges(bool right5);
    void deleteProcess(bool right5);
    void exitList();
    // Asks whether to save the edits not saved yet and saves them on Yes; false when the window
    // is to stay: Cancel, or a save that failed.
    bool settleChanges();
    void toggleCycleOption(const char *clicked, const char *other);
    host::Vector &changes();

    ProcListEntryFactory m_newEntry;
    std::shared_ptr<host::Vector> m_changes;
    bool m_modified = false;
    long m_appendAt = 0;
};
