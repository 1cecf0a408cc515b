#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QCheckBox>

namespace host::ui {

// Stand-in of the platform check box: Value 0 unticked, 1 ticked, 2 greyed; Click is raised
// whenever the value changes.
class CheckBoxControl : public QCheckBox, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit CheckBoxControl(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    int Value() const;
    void setValue(int value);

signals:
    void Click();
};

} // namespace host::ui
