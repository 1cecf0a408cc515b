#pragma once

#include "host/ui/buttonbar.h"
#include "host/ui/checkboxcontrol.h"
#include "host/ui/comboboxcontrol.h"
#include "host/ui/commandbutton.h"
#include "host/ui/commandbuttonarray.h"
#include "host/ui/dataspreadgrid.h"
#include "host/ui/datepicker.h"
#include "host/ui/form.h"
#include "host/ui/frame.h"
#include "host/ui/label.h"
#include "host/ui/ledgergrid.h"
#include "host/ui/listbox.h"
#include "host/ui/optionbutton.h"
#include "host/ui/picturebox.h"
#include "host/ui/spreadgrid.h"
#include "host/ui/statusbarcontrol.h"
#include "host/ui/tabcontrol.h"
#include "host/ui/textbox.h"
#include "host/ui/timercontrol.h"
#include "host/ui/titleband.h"
#include "host/ui/toolbarcontrol.h"

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
