#include "host/ui/titleband.h"

#include "host/ui/edgedock.h"

#include <QPainter>

namespace host::ui {

TitleBand::TitleBand(QWidget *parent) : QFrame(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    resize(width(), 2 * fontMetrics().height() + 12);
    new EdgeDock(*this, Qt::TopEdge);
}

void TitleBand::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TitleBand::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    painter.setFont(title);
    const int captionHeight = QFontMetrics(title).height() + 4;
    painter.drawText(QRect(0, 2, width(), captionHeight), Qt::AlignCenter, m_caption);
}

} // namespace host::ui
