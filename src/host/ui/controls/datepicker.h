#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QDateEdit>

namespace host::ui {

// Stand-in of the platform date picker, shown "yyyy-MM-dd" with a calendar drop-down.
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
};

} // namespace host::ui
