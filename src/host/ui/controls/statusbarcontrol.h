#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QWidget>

#include <vector>

class QLabel;

namespace host::ui {

// Stand-in of the platform status bar: panels of text along the bottom of the window's inner
// area. Panels count from 1.
class StatusBarControl : public QWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    class PanelRef
    {
    public:
        QString Text() const;
        void setText(const QString &text);

    private:
        friend class StatusBarControl;
        explicit PanelRef(QLabel *label) : m_label(label) {}
        QLabel *m_label;
    };

    // A status bar of this many panels; the last takes the room left.
    StatusBarControl(QWidget *parent, int panels);

    PanelRef Panels(int index) const;
    int PanelCount() const { return static_cast<int>(m_panels.size()); }
    // Width of a panel other than the last, in twips; a longer text widens it.
    void setPanelWidth(int index, int twips);

private:
    std::vector<QLabel *> m_panels;
};

} // namespace host::ui
