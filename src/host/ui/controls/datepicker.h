#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QDateEdit>

namespace host::ui {

// Stand-in of the platform date picker, shown "yyyy-MM-dd" with a calendar drop-down, which F4
// and Alt+Down open too. Tabbing in selects the whole date, and a date typed whole, its
// separators included, is taken whole.
class DatePicker : public QDateEdit, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

    QDate Value() const { return date(); }
    void setValue(const QDate &value) { setDate(value); }
    bool Enabled() const { return isEnabled(); }

signals:
    void Change();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The last digit completed a part of the date and the picker moved on to the next part.
    bool m_movedOn = false;
};

} // namespace host::ui
