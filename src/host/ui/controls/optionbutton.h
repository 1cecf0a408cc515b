#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QRadioButton>

namespace host::ui {

// Stand-in of the platform option button: Click is raised whenever it becomes chosen, by the
// user or by the program setting Value.
class OptionButton : public QRadioButton, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit OptionButton(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    bool Value() const { return isChecked(); }
    void setValue(bool chosen) { setChecked(chosen); }

signals:
    void Click();
};

} // namespace host::ui
