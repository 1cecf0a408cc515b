#include "host/ui/controls/titleband.h"

#include "host/ui/controls/edgedock.h"

#include <QPainter>

namespace host::ui {

TitleBand::TitleBand(QWidget *parent) : QFrame(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // Room for the caption and one row of controls below it.
    resize(width(), 3 * fontMetrics().height() + 16);
    m_captionFont = font();
    m_captionFont.setPointSizeF(m_captionFont.pointSizeF() * 1.6);
    m_captionFont.setBold(true);
    new EdgeDock(*this, Qt::TopEdge);
}

void TitleBand::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TitleBand::setCaptionFont(const QFont &font)
{
    m_captionFont = font;
    update();
}

void TitleBand::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setFont(m_captionFont);
    const int captionHeight = QFontMetrics(m_captionFont).height() + 4;
    painter.drawText(QRect(0, 2, width(), captionHeight), Qt::AlignCenter, m_caption);
}

} // namespace host::ui
