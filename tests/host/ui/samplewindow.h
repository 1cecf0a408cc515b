#pragma once

#include "host/ui/controls/checkboxcontrol.h"
#include "host/ui/controls/comboboxcontrol.h"
#include "host/ui/controls/commandbutton.h"
#include "host/ui/controls/commandbuttonarray.h"
#include "host/ui/controls/datepicker.h"
#include "host/ui/controls/frame.h"
#include "host/ui/controls/label.h"
#include "host/ui/controls/listbox.h"
#include "host/ui/controls/optionbutton.h"
#include "host/ui/controls/picturebox.h"
#include "host/ui/controls/statusbarcontrol.h"
#include "host/ui/controls/tabcontrol.h"
#include "host/ui/controls/textbox.h"
#include "host/ui/controls/timercontrol.h"
#include "host/ui/controls/titleband.h"
#include "host/ui/form/form.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/dataspreadgrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/toolbar/buttonbar.h"
#include "host/ui/toolbar/toolbarcontrol.h"

#include <QStringList>

// A small window built the way the module's windows are, with one control of every kind; it
// logs the events its handlers see.
class SampleWindow : public host::ui::Form
{
    Q_OBJECT

public:
    static constexpr int EntryRows = 5;
    static constexpr int EntryCols = 4;
    static constexpr int LedgerRecords = 90;

    SampleWindow();

    host::ui::ToolBarControl *barlist;
    host::ui::ButtonBar *tlbRpt;
    host::ui::TitleBand *titBar;
    host::ui::Label *Label1;
    host::ui::ComboBoxControl *lstStock;
    host::ui::TabControl *sstView;
    host::ui::SpreadGrid *vsCheck;
    host::ui::DataSpreadGrid *vsProc;
    host::ui::LedgerGrid *ldgCheck;
    host::ui::PictureBox *picSide;
    host::ui::Frame *fraOptions;
    host::ui::OptionButton *optCurStock;
    host::ui::OptionButton *OptCutDate;
    host::ui::DatePicker *dtpDate;
    host::ui::CheckBoxControl *chkShowClosed;
    host::ui::TextBox *txtNumber;
    host::ui::ListBox *StockList;
    host::ui::CommandButtonArray *cmdAction;
    host::ui::CommandButton *cmdOK;
    host::ui::StatusBarControl *staBar;
    host::ui::TimerControl *Timer1;

    QStringList log;
    bool modified = false;
    int loads = 0;
    int activations = 0;
    int unloads = 0;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_KeyPress(int &KeyAscii) override;

private:
    void buildToolBar();
    void buildEntryGrid();
    void buildProcessGrid();
    void connectHandlers();
    void ldgCheck_FetchRow(int Row, QString &Text, long &BackColor);
};
