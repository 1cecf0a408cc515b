#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QFrame>

namespace host::ui {

class EdgeDock;

// Stand-in of the host title band: a band along the top of the window's inner area that shows
// a caption in the middle and holds labels and lists of the window.
class TitleBand : public QFrame, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit TitleBand(QWidget *parent);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // The caption's font; the controls on the band keep theirs.
    QFont CaptionFont() const { return m_captionFont; }
    void setCaptionFont(const QFont &font);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QFont m_captionFont;
};

} // namespace host::ui
