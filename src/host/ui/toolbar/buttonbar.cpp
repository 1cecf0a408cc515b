#include "host/ui/toolbar/buttonbar.h"

#include "host/core/hosterror.h"

#include <QAction>

namespace host::ui {

ButtonBar::ButtonBar(QWidget *parent) : QToolBar(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

void ButtonBar::AddButton(const QString &key, const QString &caption)
{
    if (key.isEmpty()) {
        m_buttons.push_back(addSeparator());
        return;
    }
    QAction *action = addAction(caption);
    action->setObjectName(key);
    const int index = ButtonCount() + 1;
    connect(action, &QAction::triggered, this,
            [this, index, key] { emit ButtonClick(index, key); });
    m_buttons.push_back(action);
}

ButtonBar::ButtonRef ButtonBar::Buttons(int index) const
{
    if (index < 1 || index > ButtonCount())
        throw HostError("Index out of bounds", HostError::SubscriptOutOfRange);
    return ButtonRef(*m_buttons[static_cast<std::size_t>(index - 1)]);
}

QString ButtonBar::ButtonRef::Key() const
{
    return m_action->objectName();
}

QString ButtonBar::ButtonRef::Caption() const
{
    return m_action->text();
}

void ButtonBar::ButtonRef::setCaption(const QString &caption)
{
    m_action->setText(caption);
}

QString ButtonBar::ButtonRef::ToolTipText() const
{
    return m_action->toolTip();
}

void ButtonBar::ButtonRef::setToolTipText(const QString &text)
{
    m_action->setToolTip(text);
}

bool ButtonBar::ButtonRef::Enabled() const
{
    return m_action->isEnabled();
}

void ButtonBar::ButtonRef::setEnabled(bool enabled)
{
    m_action->setEnabled(enabled);
}

} // namespace host::ui
