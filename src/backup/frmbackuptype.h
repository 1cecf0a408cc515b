#pragma once

#include "host/ui/form/form.h"

namespace host::ui {
class CommandButton;
class Frame;
class OptionButton;
} // namespace host::ui

// Asks for the backup type of a count process that has none: 1 current stock, 2 cut-off date.
// The dialog only hides itself, so the caller reads BackupType and Cancel after the modal show
// and then stores the type (PubVariant::SetBackupType) unless the user cancelled.
class FrmBackupType : public host::ui::Form
{
    Q_OBJECT

public:
    explicit FrmBackupType(QWidget *parent = nullptr);

    long BackupType() const { return m_backupType; }
    bool Cancel() const { return m_cancel; }

    void OpCurStock_Click();
    void OptCutDate_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    host::ui::Frame *Frame1;
    host::ui::OptionButton *OpCurStock;
    host::ui::OptionButton *OptCutDate;
    host::ui::CommandButton *cmdOK;
    host::ui::CommandButton *cmdCancel;

protected:
    void Form_Load() override;
    void Form_Unload(bool &Cancel) override;
    void Form_KeyDown(int &KeyCode, int Shift) override;

private:
    void setCaptions();

    long m_backupType = 1;
    bool m_cancel = true;
};
