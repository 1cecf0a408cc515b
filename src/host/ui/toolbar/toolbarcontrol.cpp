#include "host/ui/toolbar/toolbarcontrol.h"

#include "host/core/hosterror.h"
#include "host/ui/form/form.h"
#include "host/ui/form/keycodes.h"
#include "host/ui/toolbar/tool.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QPointer>
#include <QToolBar>

namespace host::ui {

ToolBarControl::ToolBarControl(QMainWindow &window) : QObject(&window), m_window(window) {}

ToolBarControl::~ToolBarControl()
{
    // Band copies go before the bar's tools they were made from.
    m_bands.clear();
    m_tools.clear();
}

Tool &ToolBarControl::AddTool(long id, const QString &name, const QString &caption)
{
    m_tools.push_back(std::make_unique<Tool>(id, name));
    Tool &tool = *m_tools.back();
    tool.setCaption(caption.isEmpty() ? name : caption);
    return tool;
}

ToolBand &ToolBarControl::AddBand(const QString &name, ToolBand::Type type, const QString &caption)
{
    m_bands.push_back(std::make_unique<ToolBand>(m_window, name, type));
    ToolBand &band = *m_bands.back();
    band.setCaption(caption.isEmpty() ? name : caption);
    if (QToolBar *bar = band.toolBar())
        bar->installEventFilter(this);
    return band;
}

Tool *ToolBarControl::placeTool(ToolBand &band, const QString &key)
{
    if (key.isEmpty())
        return band.addTool(nullptr);
    Tool *copy = band.addTool(&Tools(key));
    connect(&copy->action(), &QAction::triggered, this, [this, copy] {
        if (auto *form = qobject_cast<Form *>(&m_window))
            form->runCommand([this, copy] { emit ToolClick(copy); });
        else
            emit ToolClick(copy);
    });
    return copy;
}

Tool *ToolBarControl::findTool(const QString &key) const
{
    for (const auto &tool : m_tools) {
        if (tool->Name().compare(key, Qt::CaseInsensitive) == 0)
            return tool.get();
    }
    return nullptr;
}

Tool &ToolBarControl::Tools(const QString &key) const
{
    Tool *tool = findTool(key);
    if (!tool)
        throw HostError("Invalid key: " + key.toStdString(), HostError::InvalidProcedureCall);
    return *tool;
}

ToolBand *ToolBarControl::findBand(const QString &name) const
{
    for (const auto &band : m_bands) {
        if (band->Name().compare(name, Qt::CaseInsensitive) == 0)
            return band.get();
    }
    return nullptr;
}

ToolBand &ToolBarControl::Bands(const QString &name) const
{
    ToolBand *band = findBand(name);
    if (!band)
        throw HostError("Invalid key: " + name.toStdString(), HostError::InvalidProcedureCall);
    return *band;
}

void ToolBarControl::RecalcLayout()
{
    for (const auto &band : m_bands)
        band->layout(m_bands);
    m_window.updateGeometry();
}

void ToolBarControl::OnKeyDown(int &KeyCode, int Shift)
{
    const QKeySequence pressed = keySequenceOf(KeyCode, Shift);
    if (pressed.isEmpty())
        return;
    for (const auto &band : m_bands) {
        for (int i = 0; i < band->ToolCount(); ++i) {
            Tool &tool = band->toolAt(i);
            if (tool.Shortcut() == pressed && tool.Visible() && tool.Enabled()) {
                KeyCode = 0;
                const QPointer<QAction> action(&tool.action());
                if (auto *form = qobject_cast<Form *>(&m_window))
                    form->runAfterKey([action] {
                        if (action)
                            action->trigger();
                    });
                else
                    action->trigger();
                return;
            }
        }
    }
}

bool ToolBarControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu) {
        bool cancel = false;
        emit CancelDefault(cancel);
        if (cancel)
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace host::ui
