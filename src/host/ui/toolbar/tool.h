#pragma once

#include <QIcon>
#include <QKeySequence>
#include <QString>

#include <memory>
#include <vector>

class QAction;

namespace host::ui {

// A tool of the tool-bar control. The bar keeps one tool per key in its own set, and each band
// that shows the tool has a copy of it; a change made on the bar's tool reaches every copy,
// a change on a band's copy only that band.
class Tool
{
public:
    // How a tool shows on a tool band; Default follows the band.
    enum Style
    {
        Default = 0,
        IconOnly = 1,
        CaptionOnly = 2,
        CaptionBesideIcon = 3,
        CaptionBelowIcon = 4
    };

    Tool(long id, const QString &name);
    ~Tool();
    Tool(const Tool &) = delete;
    Tool &operator=(const Tool &) = delete;

    // A band's copy of this tool, with its current settings.
    std::unique_ptr<Tool> makeCopy();

    long ToolID() const { return m_id; }
    const QString &Name() const { return m_name; }
    QString Caption() const;
    void setCaption(const QString &caption);
    QString TooltipText() const;
    void setTooltipText(const QString &text);
    QString Description() const { return m_description; }
    void setDescription(const QString &text);
    bool Visible() const;
    void setVisible(bool visible);
    bool Enabled() const;
    void setEnabled(bool enabled);
    bool Checked() const { return m_checked; }
    void setChecked(bool checked);
    int Style() const { return m_style; }
    void setStyle(int style);
    QKeySequence Shortcut() const { return m_shortcut; }
    void setShortcut(const QKeySequence &shortcut);
    QIcon Icon() const;
    void setIcon(const QIcon &icon);
    // The band this tool opens (a menu or a drop-down), empty for none.
    QString SubBand() const { return m_subBand; }
    void setSubBand(const QString &band) { m_subBand = band; }

    QAction &action() const { return *m_action; }

private:
    template <typename Fn> void forEachCopy(Fn fn);

    long m_id;
    QString m_name;
    QString m_description;
    bool m_checked = false;
    int m_style = Default;
    QKeySequence m_shortcut;
    QString m_subBand;
    std::unique_ptr<QAction> m_action;
    std::vector<Tool *> m_copies;
    Tool *m_master = nullptr;
};

} // namespace host::ui
