#pragma once

#include "host/ui/form/form.h"

#include <memory>

namespace host {
class Vector;
namespace ui {
class CommandButton;
class Label;
class SpreadGrid;
} // namespace ui
} // namespace host

// The serial-number alert: lists items managed by serial number, for which no bill can be made
// automatically, and asks whether to go on with the other items. ReturnCode is 1 for Yes and 0
// otherwise, also when the window is closed by its close box.
class FrmSNAlert : public host::ui::Form
{
public:
    explicit FrmSNAlert(QWidget *parent = nullptr);

    // The item descriptions to list, one per row.
    void setVectContent(std::shared_ptr<host::Vector> content) { m_content = std::move(content); }
    long ReturnCode() const { return m_returnCode; }

    host::ui::Label *labHead;
    host::ui::SpreadGrid *vaItemList;
    host::ui::CommandButton *cmdYes;
    host::ui::CommandButton *cmdNo;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int &KeyCode, int Shift) override;

private:
    void cmdYes_Click();
    void cmdNo_Click();

    std::shared_ptr<host::Vector> m_content;
    long m_returnCode = 0;
};
