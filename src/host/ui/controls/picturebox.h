#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QFrame>
#include <QPixmap>

namespace host::ui {

// Stand-in of the platform picture box, used as a container of controls and for a picture.
class PictureBox : public QFrame, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // Inner size in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;
    void setPicture(const QPixmap &picture);

signals:
    void Resize();
    void Click();
    void GotFocus();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};

} // namespace host::ui
