#pragma once

#include <QToolBar>

#include <vector>

namespace host::ui {

// Stand-in of the platform tool bar: buttons counted from 1, each with a key, a caption and a
// tool tip, some of them separators; ButtonClick tells the button's index and key.
class ButtonBar : public QToolBar
{
    Q_OBJECT

public:
    class ButtonRef
    {
    public:
        QString Key() const;
        QString Caption() const;
        void setCaption(const QString &caption);
        QString ToolTipText() const;
        void setToolTipText(const QString &text);
        bool Enabled() const;
        void setEnabled(bool enabled);

    private:
        friend class ButtonBar;
        explicit ButtonRef(QAction &action) : m_action(&action) {}
        QAction *m_action;
    };

    explicit ButtonBar(QWidget *parent = nullptr);

    // Appends a button; an empty key makes a separator.
    void AddButton(const QString &key, const QString &caption = {});
    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    ButtonRef Buttons(int index) const;

signals:
    void ButtonClick(int Index, const QString &Key);

private:
    std::vector<QAction *> m_buttons;
};

} // namespace host::ui
