#include "host/ui/toolbar/toolband.h"

#include "host/core/hosterror.h"
#include "host/ui/toolbar/tool.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace host::ui {

namespace {

Qt::ToolButtonStyle qtStyle(int style, Qt::ToolButtonStyle bandStyle)
{
    switch (style) {
    case Tool::IconOnly:
        return Qt::ToolButtonIconOnly;
    case Tool::CaptionOnly:
        return Qt::ToolButtonTextOnly;
    case Tool::CaptionBesideIcon:
        return Qt::ToolButtonTextBesideIcon;
    case Tool::CaptionBelowIcon:
        return Qt::ToolButtonTextUnderIcon;
    default:
        return bandStyle;
    }
}

} // namespace

ToolBand::ToolBand(QMainWindow &window, const QString &name, Type type) : m_name(name), m_type(type)
{
    switch (type) {
    case MenuBar:
        m_menuBar = new QMenuBar(&window);
        m_menuBar->setObjectName(name);
        window.setMenuBar(m_menuBar);
        break;
    case Popup:
        m_menu = new QMenu(name, &window);
        m_menu->setObjectName(name);
        break;
    default:
        m_toolBar = new QToolBar(name, &window);
        m_toolBar->setObjectName(name);
        m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        window.addToolBar(m_toolBar);
        break;
    }
}

ToolBand::~ToolBand() = default;

QString ToolBand::Caption() const
{
    return m_caption;
}

void ToolBand::setCaption(const QString &caption)
{
    m_caption = caption;
    if (m_toolBar)
        m_toolBar->setWindowTitle(caption);
    if (m_menu)
        m_menu->setTitle(caption);
}

bool ToolBand::Visible() const
{
    if (m_toolBar)
        return !m_toolBar->isHidden();
    if (m_menuBar)
        return !m_menuBar->isHidden();
    return m_menu && m_menu->isVisible();
}

void ToolBand::setVisible(bool visible)
{
    if (m_toolBar)
        m_toolBar->setVisible(visible);
    if (m_menuBar)
        m_menuBar->setVisible(visible);
}

Tool *ToolBand::findTool(const QString &key) const
{
    for (const auto &tool : m_tools) {
        if (tool && tool->Name().compare(key, Qt::CaseInsensitive) == 0)
            return tool.get();
    }
    return nullptr;
}

Tool &ToolBand::Tools(const QString &key) const
{
    Tool *tool = findTool(key);
    if (!tool)
        throw HostError("Invalid key: " + key.toStdString(), HostError::InvalidProcedureCall);
    return *tool;
}

Tool *ToolBand::addTool(Tool *master)
{
    QWidget *target = m_toolBar   ? static_cast<QWidget *>(m_toolBar.data())
                      : m_menuBar ? static_cast<QWidget *>(m_menuBar.data())
                                  : static_cast<QWidget *>(m_menu.data());
    if (!master) {
        auto *separator = new QAction(target);
        separator->setSeparator(true);
        target->addAction(separator);
        return nullptr;
    }
    m_tools.push_back(master->makeCopy());
    Tool *copy = m_tools.back().get();
    target->addAction(&copy->action());
    return copy;
}

void ToolBand::layout(const std::vector<std::unique_ptr<ToolBand>> &bands)
{
    for (const auto &tool : m_tools) {
        QAction &action = tool->action();
        QMenu *sub = nullptr;
        for (const auto &band : bands) {
            if (!tool->SubBand().isEmpty() && band->Name() == tool->SubBand())
                sub = band->menu();
        }
        action.setMenu(sub);
        if (!m_toolBar)
            continue;
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(&action))) {
            button->setToolButtonStyle(qtStyle(tool->Style(), m_toolBar->toolButtonStyle()));
            if (sub)
                button->setPopupMode(QToolButton::InstantPopup);
        }
    }
}

} // namespace host::ui
