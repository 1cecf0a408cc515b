#include "host/ui/controls/statusbarcontrol.h"

#include "host/core/hosterror.h"
#include "host/ui/controls/edgedock.h"
#include "host/ui/form/twips.h"

#include <QHBoxLayout>
#include <QLabel>

namespace host::ui {

StatusBarControl::StatusBarControl(QWidget *parent, int panels)
    : QWidget(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(2);
    for (int i = 0; i < panels; ++i) {
        auto *label = new QLabel(this);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        const bool last = i == panels - 1;
        // A panel is as wide as its text, at least as its width: a message longer than that
        // takes the room of the last panel, which has what is left.
        label->setSizePolicy(last ? QSizePolicy::Ignored : QSizePolicy::Preferred,
                             QSizePolicy::Preferred);
        layout->addWidget(label, last ? 1 : 0);
        m_panels.push_back(label);
    }
    resize(width(), fontMetrics().height() + 8);
    new EdgeDock(*this, Qt::BottomEdge);
}

StatusBarControl::PanelRef StatusBarControl::Panels(int index) const
{
    if (index < 1 || index > PanelCount())
        throw HostError("Index out of bounds", HostError::SubscriptOutOfRange);
    return PanelRef(m_panels[static_cast<std::size_t>(index - 1)]);
}

void StatusBarControl::setPanelWidth(int index, int twips)
{
    Panels(index).m_label->setMinimumWidth(twipsToPixelsX(twips));
}

QString StatusBarControl::PanelRef::Text() const
{
    return m_label->text();
}

void StatusBarControl::PanelRef::setText(const QString &text)
{
    m_label->setText(text);
}

} // namespace host::ui
