#pragma once

#include "host/ui/form/form.h"

namespace host::ui {
class CommandButton;
class Frame;
class OptionButton;
class PictureBox;
class SpreadGrid;
class TabControl;
} // namespace host::ui

// The find dialog of the count sheet: one row per entry of gQueryColumns. OK writes the typed
// texts into the entries' SearchValue and raises FindNow; the dialog stays open for the next
// find until the user closes it. The window does the search.
class frmFind : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmFind(QWidget *parent = nullptr);

    void setActionMode(long mode) { mActionMode = mode; }

    void cmdOK_Click();
    void cmdCancel_Click();

    host::ui::TabControl *SSTab;
    host::ui::PictureBox *picBack;
    host::ui::SpreadGrid *vspSearch;
    host::ui::Frame *fraMatch;
    host::ui::OptionButton *optBlur;
    host::ui::OptionButton *optMatch;
    host::ui::Frame *fraUL;
    host::ui::OptionButton *optUL_Yes;
    host::ui::OptionButton *optUL_No;
    host::ui::CommandButton *cmdOk;
    host::ui::CommandButton *cmdCancel;

signals:
    // SearchMode 1 partial match, 0 whole match; MatchMode 1 case counts, 0 case ignored.
    void FindNow(long SearchMode, long MatchMode);

protected:
    void Form_Load() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;
    void Form_KeyUp(int &KeyCode, int Shift) override;

private:
    void InitCaptions();
    void BuildGrid();
    // Brings the row's search value within its column's range; false for a text its column
    // cannot be searched by, which stays as typed.
    bool checkCell(int row);
    // Whether every search value stands; at the first that does not the user is told why and
    // left in its cell.
    bool checkCells();
    void vspSearch_KeyUp(int &KeyCode, int Shift);
    void vspSearch_KeyPress(int &KeyAscii);

    long mActionMode = 0;
    long mSearchMode = 1;
    long mMatchMode = 1;
};

// A search value as the find dialog keeps it for a column of that data type (3 whole number,
// 5 number; others as typed).
QString checkedSearchValue(long dataType, const QString &value);
