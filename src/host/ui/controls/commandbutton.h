#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QPushButton>

namespace host::ui {

// Stand-in of the platform command button.
class CommandButton : public QPushButton, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &caption = {}, QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    bool Enabled() const { return isEnabled(); }

signals:
    void Click();
};

} // namespace host::ui
