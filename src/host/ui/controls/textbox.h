#pragma once

#include "host/ui/form/twipsgeometry.h"

#include <QLineEdit>

namespace host::ui {

// Stand-in of the platform text box. Validate is raised when the focus leaves the box;
// Cancel keeps the focus in it.
class TextBox : public QLineEdit, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    bool Locked() const { return isReadOnly(); }
    void setLocked(bool locked) { setReadOnly(locked); }
    bool Enabled() const { return isEnabled(); }
    long BackColor() const;
    void setBackColor(long color);
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    // The most the box takes, in bytes of the double-byte code page as the platform's text box
    // counts them (see codePageBytes); 0 for no limit. What is typed or pasted beyond is dropped.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int bytes);

signals:
    void Change();
    void Validate(bool &Cancel);
    void KeyDown(int &KeyCode, int Shift);
    void KeyPress(int &KeyAscii);
    void GotFocus();
    void LostFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int m_maxLength = 0;
    bool m_validating = false;
    bool m_forwarding = false;
};

} // namespace host::ui
