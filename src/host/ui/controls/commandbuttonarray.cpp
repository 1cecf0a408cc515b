#include "host/ui/controls/commandbuttonarray.h"

#include "host/core/hosterror.h"
#include "host/ui/controls/commandbutton.h"

namespace host::ui {

CommandButton &CommandButtonArray::Load(int index, QWidget *parent, const QString &caption)
{
    if (m_buttons.count(index))
        throw HostError("Object already loaded", 360);
    auto *button = new CommandButton(caption, parent);
    m_buttons[index] = button;
    connect(button, &CommandButton::Click, this, [this, index] { emit Click(index); });
    connect(button, &QObject::destroyed, this, [this, index] { m_buttons.erase(index); });
    return *button;
}

CommandButton &CommandButtonArray::operator()(int index) const
{
    const auto it = m_buttons.find(index);
    if (it == m_buttons.end())
        throw HostError("Control array element does not exist", 340);
    return *it->second;
}

} // namespace host::ui
