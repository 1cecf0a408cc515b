#pragma once

#include "host/ui/toolbar/toolband.h"

#include <QObject>

#include <memory>
#include <vector>

class QMainWindow;

namespace host::ui {

class Tool;

// Stand-in of the vendor tool bar with bands: one set of tools by key, shown by bands that are
// tool bars, the window's menu bar or pop-up menus. Changes of tools and bands show after
// RecalcLayout. On a module window a tool's click is run as the window's command
// (Form::runCommand).
class ToolBarControl : public QObject
{
    Q_OBJECT

public:
    explicit ToolBarControl(QMainWindow &window);
    ~ToolBarControl() override;

    Tool &AddTool(long id, const QString &name, const QString &caption = {});
    ToolBand &AddBand(const QString &name, ToolBand::Type type, const QString &caption = {});
    // Shows the bar's tool of that key on the band; an empty key adds a separator.
    Tool *placeTool(ToolBand &band, const QString &key);

    // The bar's tool with this key (case ignored); a missing key is an error.
    Tool &Tools(const QString &key) const;
    Tool *findTool(const QString &key) const;
    int ToolCount() const { return static_cast<int>(m_tools.size()); }
    ToolBand &Bands(const QString &name) const;
    ToolBand *findBand(const QString &name) const;

    void RecalcLayout();
    // Runs the tool whose shortcut is this key, and then clears the key code. On a module
    // window the tool runs once the key has been delivered (Form::runAfterKey).
    void OnKeyDown(int &KeyCode, int Shift);

signals:
    void ToolClick(host::ui::Tool *Tool);
    // Raised before the bar's own menu of bands opens; Cancel keeps it closed.
    void CancelDefault(bool &Cancel);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMainWindow &m_window;
    std::vector<std::unique_ptr<Tool>> m_tools;
    std::vector<std::unique_ptr<ToolBand>> m_bands;
};

} // namespace host::ui
