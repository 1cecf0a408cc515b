#include "host/ui/controls/picturebox.h"

#include "host/ui/form/twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace host::ui {

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setFocusPolicy(Qt::ClickFocus);
}

int PictureBox::ScaleWidth() const
{
    return pixelsToTwipsX(contentsRect().width());
}

int PictureBox::ScaleHeight() const
{
    return pixelsToTwipsY(contentsRect().height());
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit Resize();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    emit GotFocus();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(contentsRect().topLeft(), m_picture);
}

} // namespace host::ui
