#include "host/ui/controls/commandbutton.h"

#include "host/ui/form/form.h"
#include "host/ui/form/pendingedit.h"

namespace host::ui {

CommandButton::CommandButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
        if (editEnded())
            emit Click();
    });
}

bool CommandButton::editEnded()
{
    auto *form = qobject_cast<Form *>(window());
    return !form || form->cancelButton() == this || endPendingEdit(*form);
}

} // namespace host::ui
