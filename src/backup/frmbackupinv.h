#pragma once

#include "host/core/dictionary.h"
#include "host/ui/form/form.h"

#include <QPointer>

#include <array>
#include <memory>
#include <string>

class ICBackupInv;

namespace host::ui {
class CommandButton;
class DataSpreadGrid;
class DatePicker;
class Label;
class ListBox;
class OptionButton;
class TabControl;
} // namespace host::ui

// The window in which the user starts a new count: a snapshot of the book stock of the chosen
// stocks, current or at a cut-off date, narrowed by item and stock-place conditions. OK checks
// the choices, runs the pre-checks and the backup and closes the window when the new count
// process is made.
class frmBackupInv : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmBackupInv(QWidget *parent = nullptr);
    ~frmBackupInv() override;

    void optCurStock_Click();
    void OptCutDate_Click();
    void vsProc_Change(int Col, int Row);
    void vsProc_KeyLookup(int &KeyCode, int Shift);
    void cmdOK_Click();
    void cmdCancel_Click();
    void StockList_Click() {}

    bool ValidateInput();
    std::shared_ptr<host::Dictionary> BuildBackupParams();
    static std::string TrimTrailingLogic(const std::string &text);
    bool CheckBeforeBackup(host::Dictionary &params, bool isCutDate, double cutDate);
    // The trimmed text of a cell, or of the block up to lastRow and lastCol without its tabs
    // and line breaks; 0 for both means the single cell.
    std::string GetGridCell(int row, int col, int lastRow = 0, int lastCol = 0) const;

    // The parameters of the last OK that got as far as building them.
    const std::shared_ptr<host::Dictionary> &backupParams() const { return m_params; }

    host::ui::Label *Label1;
    host::ui::Label *Label2;
    host::ui::OptionButton *optCurStock;
    host::ui::OptionButton *OptCutDate;
    host::ui::DatePicker *dtpDate;
    host::ui::TabControl *sstCheckStock;
    host::ui::ListBox *StockList;
    host::ui::DataSpreadGrid *vsProc;
    host::ui::CommandButton *cmdOK;
    host::ui::CommandButton *cmdCancel;

protected:
    void Form_Load() override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_Unload(bool &Cancel) override;

private:
    // The backup of the OK command; false when it was refused or failed.
    bool backUp();
    // After a refusal the user goes on where they were: the box or list they last entered, or
    // the list of the tab the refusal showed.
    void returnToEntry();
    void setCaptions();
    void setUpConditionGrid();
    void addConditionRow();
    void loadStockList();
    // The chosen index of a list cell, 0 for none.
    int choice(int col, int row) const;
    void lookUpItem(int row, int choiceIndex);
    void lookUpStockPlace(int row, int choiceIndex);

    std::unique_ptr<ICBackupInv> m_backup;
    std::shared_ptr<host::Dictionary> m_params;
    std::array<std::string, 5> m_fields;  // by the name choice, 1 to 4
    std::array<std::string, 9> m_affixes; // by the comparison choice, 1 to 8
    bool m_itemCondition = false;
    bool m_placeCondition = false;
    QPointer<QWidget> m_entry;
};
