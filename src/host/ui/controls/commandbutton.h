#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QPushButton>

namespace host::ui {

// Stand-in of the platform command button. Before Click the cell edit open in the window ends
// (an access key takes no focus, so it would not end by itself), and a text the cell refuses
// keeps the editor open and the click unanswered; the window's Cancel button only closes.
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

private:
    bool editEnded();
};

} // namespace host::ui
