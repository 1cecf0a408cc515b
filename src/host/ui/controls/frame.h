#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QGroupBox>

namespace host::ui {

// Stand-in of the platform frame: a captioned box that holds controls.
class Frame : public QGroupBox, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return title(); }
    void setCaption(const QString &caption) { setTitle(caption); }
};

} // namespace host::ui
