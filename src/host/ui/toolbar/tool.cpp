#include "host/ui/toolbar/tool.h"

#include <QAction>

namespace host::ui {

Tool::Tool(long id, const QString &name)
    : m_id(id), m_name(name), m_action(std::make_unique<QAction>(name))
{
    m_action->setObjectName(name);
    // The tool's check mark is the program's to set: a click does not flip it.
    QObject::connect(m_action.get(), &QAction::triggered, m_action.get(),
                     [this] { m_action->setChecked(m_checked); });
}

Tool::~Tool()
{
    if (m_master)
        std::erase(m_master->m_copies, this);
    for (Tool *copy : m_copies)
        copy->m_master = nullptr;
}

std::unique_ptr<Tool> Tool::makeCopy()
{
    auto copy = std::make_unique<Tool>(m_id, m_name);
    copy->m_master = this;
    m_copies.push_back(copy.get());
    copy->setCaption(Caption());
    copy->setTooltipText(TooltipText());
    copy->m_description = m_description;
    copy->setVisible(Visible());
    copy->setEnabled(Enabled());
    copy->setChecked(m_checked);
    copy->m_style = m_style;
    copy->setShortcut(m_shortcut);
    copy->setIcon(Icon());
    copy->m_subBand = m_subBand;
    return copy;
}

template <typename Fn> void Tool::forEachCopy(Fn fn)
{
    for (Tool *copy : m_copies)
        fn(*copy);
}

QString Tool::Caption() const
{
    return m_action->text();
}

void Tool::setCaption(const QString &caption)
{
    m_action->setText(caption);
    m_action->setIconText(caption);
    forEachCopy([&](Tool &t) { t.setCaption(caption); });
}

QString Tool::TooltipText() const
{
    return m_action->toolTip();
}

void Tool::setTooltipText(const QString &text)
{
    m_action->setToolTip(text);
    forEachCopy([&](Tool &t) { t.setTooltipText(text); });
}

void Tool::setDescription(const QString &text)
{
    m_description = text;
    m_action->setStatusTip(text);
    forEachCopy([&](Tool &t) { t.setDescription(text); });
}

bool Tool::Visible() const
{
    return m_action->isVisible();
}

void Tool::setVisible(bool visible)
{
    m_action->setVisible(visible);
    forEachCopy([&](Tool &t) { t.setVisible(visible); });
}

bool Tool::Enabled() const
{
    return m_action->isEnabled();
}

void Tool::setEnabled(bool enabled)
{
    m_action->setEnabled(enabled);
    forEachCopy([&](Tool &t) { t.setEnabled(enabled); });
}

void Tool::setChecked(bool checked)
{
    m_checked = checked;
    if (checked)
        m_action->setCheckable(true);
    m_action->setChecked(checked);
    forEachCopy([&](Tool &t) { t.setChecked(checked); });
}

void Tool::setStyle(int style)
{
    m_style = style;
    forEachCopy([&](Tool &t) { t.setStyle(style); });
}

void Tool::setShortcut(const QKeySequence &shortcut)
{
    m_shortcut = shortcut;
    // A menu shows it beside the tool. The bar's key handler runs the tool, so the action's
    // own shortcut answers only where the key reaches no window: in the open menu.
    m_action->setShortcut(shortcut);
    m_action->setShortcutContext(Qt::WidgetShortcut);
    forEachCopy([&](Tool &t) { t.setShortcut(shortcut); });
}

QIcon Tool::Icon() const
{
    return m_action->icon();
}

void Tool::setIcon(const QIcon &icon)
{
    m_action->setIcon(icon);
    forEachCopy([&](Tool &t) { t.setIcon(icon); });
}

} // namespace host::ui
