#pragma once

#include "host/ui/form/form.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;

namespace host {
class Dictionary;
class Recordset;
namespace ui {
class ButtonBar;
class Label;
class LedgerGrid;
class PictureBox;
class StatusBarControl;
class TitleBand;
} // namespace ui
} // namespace host

// The select-bills window: lists, for the count line in focus (the module's current-line
// values), the stock bills and plan-tracking changes posted after the process's snapshot, lets
// the user mark whole bills and, on Calculate, records which bill lines the process took and
// leaves their signed sums in gCurDiffQty and gCurSecDiffQty. The count line given the sums is
// written with the marks in one transaction, or neither is. CalFactQty follows every Calculate;
// the opener then shows the sums in the line when CalcateOK is true and closes the window.
class frmSelect : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmSelect(QWidget *parent = nullptr);
    ~frmSelect() override;

    void setProcID(long Value) { m_procId = Value; }
    // The window only reads the process dictionary.
    void setDicupInfo(std::shared_ptr<host::Dictionary> Dctpara)
    {
        m_dicupInfo = std::move(Dctpara);
    }
    bool CalcateOK() const { return m_calcateOK; }
    // The statements that write the count line given the sums in the base and the second unit;
    // nothing when the line refuses them (the opener has told the user why). Without them the
    // marks are written alone.
    using LineSQL = std::function<std::optional<std::string>(double diffQty, double secDiffQty)>;
    void setLineSQL(LineSQL lineSQL) { m_lineSQL = std::move(lineSQL); }

    void mnuVCalulate_Click();
    void mnuFExit_Click();
    void mnuVToolBar_Click();
    void mnuVStatus_Click();
    void mnuVLabel_Click();
    void tlbRpt_ButtonClick(const QString &key);
    void ldgSelect_FetchRow(int Row, QString &Text, long &BackColor);
    void ldgSelect_ToggleSelect(short &Action);

    host::ui::TitleBand *titSelect;
    host::ui::Label *Label1;
    host::ui::Label *lstStock;
    host::ui::ButtonBar *tlbRpt;
    host::ui::PictureBox *PIC1;
    host::ui::LedgerGrid *ldgSelect;
    host::ui::StatusBarControl *staBar;
    QMenu *mnuFile;
    QAction *mnuFExit;
    QMenu *mnuView;
    QAction *mnuVCalulate;
    QAction *mnuVToolBar;
    QAction *mnuVStatus;
    QAction *mnuVLabel;
    QAction *mnuHAbout;

signals:
    void CalFactQty();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;

private:
    void buildMenus();
    void InitCaptions();
    void ArrangeControls();
    void applyViewFlags();
    // The bill list of the current line; 1 when it was built, 0 after a message.
    long GetRSSelect();
    void setUpGrid();
    QString GetRowText(int row);
    void Calculate();
    void LoadSaveColumnWidths(int save);

    long m_procId = 0;
    std::shared_ptr<host::Dictionary> m_dicupInfo;
    std::shared_ptr<host::Recordset> mRsSelect;
    QString mHeaderSpec;
    LineSQL m_lineSQL;
    bool m_calcateOK = false;
    bool m_showToolbar = false;
    bool m_showToolLabels = false;
    bool m_showStatusBar = false;
};
