#include "host/ui/controls/datepicker.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <utility>

namespace host::ui {

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(QDate::currentDate(), parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
    connect(this, &QDateEdit::dateChanged, this, [this] { emit Change(); });
}

void DatePicker::focusInEvent(QFocusEvent *event)
{
    QDateEdit::focusInEvent(event);
    m_movedOn = false;
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        selectAll();
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    // F4 and Alt+Down open the calendar, as they open a list; the picker offers it only to a
    // press on its arrow.
    const bool calendarKey =
        (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) ||
        (event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier);
    if (calendarKey && calendarPopup()) {
        QStyleOptionComboBox option;
        option.initFrom(this);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QPoint arrow =
            style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this)
                .center();
        QMouseEvent press(QEvent::MouseButtonPress, arrow, mapToGlobal(arrow), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QDateEdit::mousePressEvent(&press);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool digit = typed.size() == 1 && typed.front().isDigit();
    const bool separator =
        typed == QLatin1String("-") || typed == QLatin1String("/") || typed == QLatin1String(".");
    // After a completed part the picker stands in the next one already: the separator the user
    // types there is the one it passed, not a step to the part after.
    if (std::exchange(m_movedOn, false) && separator) {
        event->accept();
        return;
    }
    // A digit typed over the whole date starts a new date at its first part.
    const QLineEdit *edit = lineEdit();
    if (digit && edit->hasSelectedText() && edit->selectedText() == edit->text())
        setSelectedSection(sectionAt(0));
    const int section = currentSectionIndex();
    QDateEdit::keyPressEvent(event);
    m_movedOn = digit && currentSectionIndex() != section;
}

} // namespace host::ui
