#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QString>
#include <QToolBar>

#include <memory>
#include <vector>

class QMainWindow;

namespace host::ui {

class Tool;

// A band of the tool-bar control: a tool bar, the window's menu bar or a pop-up menu, showing
// copies of the bar's tools.
class ToolBand
{
public:
    enum Type
    {
        Normal = 0,
        MenuBar = 1,
        Popup = 2
    };

    ToolBand(QMainWindow &window, const QString &name, Type type);
    ~ToolBand();
    ToolBand(const ToolBand &) = delete;
    ToolBand &operator=(const ToolBand &) = delete;

    const QString &Name() const { return m_name; }
    Type BandType() const { return m_type; }
    QString Caption() const;
    void setCaption(const QString &caption);
    bool Visible() const;
    void setVisible(bool visible);

    // The band's copy of the tool with this key; a missing key is an error.
    Tool &Tools(const QString &key) const;
    Tool *findTool(const QString &key) const;
    int ToolCount() const { return static_cast<int>(m_tools.size()); }
    Tool &toolAt(int index) const { return *m_tools.at(static_cast<std::size_t>(index)); }
    // Appends a copy of the bar's tool; a null master adds a separator.
    Tool *addTool(Tool *master);

    QToolBar *toolBar() const { return m_toolBar; }
    QMenu *menu() const { return m_menu; }
    // Applies tool styles and links tools to the bands they open.
    void layout(const std::vector<std::unique_ptr<ToolBand>> &bands);

private:
    QString m_name;
    Type m_type;
    QString m_caption;
    QPointer<QToolBar> m_toolBar;
    QPointer<QMenuBar> m_menuBar;
    QPointer<QMenu> m_menu;
    std::vector<std::unique_ptr<Tool>> m_tools;
};

} // namespace host::ui
