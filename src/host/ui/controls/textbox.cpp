#include "host/ui/controls/textbox.h"

#include "host/ui/form/keyrouting.h"
#include "host/ui/form/olecolor.h"
#include "host/ui/form/textlength.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace host::ui {

TextBox::TextBox(QWidget *parent) : QLineEdit(parent), TwipsGeometry(static_cast<QWidget &>(*this))
{
    connect(this, &QLineEdit::textChanged, this, [this] { emit Change(); });
}

long TextBox::BackColor() const
{
    return toOleColor(palette().color(QPalette::Base));
}

void TextBox::setBackColor(long color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, fromOleColor(color));
    setPalette(p);
}

int TextBox::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextBox::setSelStart(int start)
{
    setCursorPosition(start);
}

int TextBox::SelLength() const
{
    return static_cast<int>(selectedText().size());
}

void TextBox::setSelLength(int length)
{
    setSelection(SelStart(), length);
}

void TextBox::setMaxLength(int bytes)
{
    m_maxLength = bytes;
    delete validator();
    setValidator(bytes > 0 ? new LengthValidator(-1, bytes, this) : nullptr);
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (!m_forwarding) {
        KeyHandlers handlers;
        handlers.keyDown = [this](int &keyCode, int shift) { emit KeyDown(keyCode, shift); };
        handlers.keyPress = [this](int &keyAscii) { emit KeyPress(keyAscii); };
        handlers.deliver = [this](QKeyEvent &replacement) {
            m_forwarding = true;
            QLineEdit::keyPressEvent(&replacement);
            m_forwarding = false;
        };
        if (routeKey(*event, handlers))
            return;
    }
    QLineEdit::keyPressEvent(event);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    emit GotFocus();
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    const bool leftWindow =
        event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (!leftWindow && !m_validating) {
        bool cancel = false;
        m_validating = true;
        emit Validate(cancel);
        m_validating = false;
        if (cancel) {
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
            return;
        }
    }
    emit LostFocus();
}

} // namespace host::ui
