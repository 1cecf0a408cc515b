#include "host/ui/controls/datepicker.h"

namespace host::ui {

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(QDate::currentDate(), parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, [this] { emit Change(); });
}

} // namespace host::ui
