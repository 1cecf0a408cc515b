#pragma once

#include "host/ui/form/form.h"

#include <memory>

namespace host {
class Recordset;
namespace ui {
class CommandButtonArray;
class Label;
class LedgerGrid;
class ListBox;
} // namespace ui
} // namespace host

// The ledger column chooser "显示/隐藏列": lists the ledger's columns by their header captions,
// checked when shown, and applies the checks to the columns' hidden switches. The caller hands
// it the ledger before showing it and stores the hidden states afterwards; the chooser stores
// nothing itself.
class frmSetColume : public host::ui::Form
{
    Q_OBJECT

public:
    explicit frmSetColume(QWidget *parent = nullptr);
    ~frmSetColume() override;

    void setLedger(host::ui::LedgerGrid *ledger) { m_ledger = ledger; }

    // 0 apply and close, 1 apply, 2 close.
    void Command_Click(int Index);

    host::ui::Label *Label1;
    host::ui::ListBox *ColList;
    host::ui::CommandButtonArray *Command;

protected:
    void Form_Load() override;

private:
    void ApplyColumns();
    void FillColListOneRow();
    void FillColListTwoRows();
    QString GetColVisible(const QString &caption);
    void addColumn(const QString &caption, int col);

    host::ui::LedgerGrid *m_ledger = nullptr;
    std::shared_ptr<host::Recordset> m_captions;
};
