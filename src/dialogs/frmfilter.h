#pragma once

#include "dialogs/filtertext.h"
#include "host/ui/form/form.h"

#include <memory>

namespace host {
class Dictionary;
namespace ui {
class CommandButton;
class Label;
class SpreadGrid;
class TabControl;
} // namespace ui
} // namespace host

// The filter and sort dialog of the count sheet. The caller sets mShowType (the column
// template whose fields are offered) and mShowOption (0 conditions, 1 sort order), shows it
// modally and then reads gFilterCancelled and, when it is False, gFilterDict's "Filter" and
// "SortBy".
class frmFilter : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmFilter(QWidget *parent = nullptr);
    ~frmFilter() override;

    long mShowType = 0;
    long mShowOption = 0;

    void cmdOK_Click();
    void cmdCancel_Click();
    void vsFilter_ComboSelChange(int Col, int Row);
    void vsSortBy_ComboSelChange(int Col, int Row);
    void vsFilter_Click(int Col, int Row);
    void vsFilter_KeyDown(int &KeyCode, int Shift);

    host::ui::TabControl *SSTab1;
    host::ui::SpreadGrid *vsFilter;
    host::ui::SpreadGrid *vsSortBy;
    host::ui::CommandButton *cmdOK;
    host::ui::CommandButton *cmdCancel;
    host::ui::Label *lblInfo;

protected:
    void Form_Load() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;

private:
    void InitCaptions();
    // The line beside the buttons: how to choose a value.
    void showHint();
    void LoadFieldLists();
    void InitGrids();
    QString GetGridText(int row, int col, int row2 = 0, int col2 = 0) const;
    void CheckRowEnd(host::ui::SpreadGrid &grid, int nCols, long &rows);
    void AddFilterRowIfLast();
    void AddSortRowIfLast();
    bool CheckFilterRows();
    // The condition a named row of the filter grid states.
    filtertext::Condition conditionAt(int row) const;
    bool CheckSortRows();
    bool BuildFilterAndSort();

    // The template parts of a field caption: FColName, FItemClassID, FColType.
    QStringList fieldParts(const QString &caption) const;
    int comboIndex(host::ui::SpreadGrid &grid, int col, int row) const;
    void showMessage(int tab, const QString &text);

    std::shared_ptr<host::Dictionary> mFieldDict;
    QString mFilterString;
    QString mSortString;
    QString mCompareList;
    QString mLogicList;
    QString mOrderList;
    long mFilterRows = 0;
    long mSortRows = 0;
};
