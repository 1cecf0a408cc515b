#pragma once

#include <QDialog>

class QTextEdit;

namespace host::ui {

// The standard message box as the program shows it: a text, an icon and the buttons of a
// style (Msg::YesNo | Msg::Question, ...). Escape and the close box answer only a box that has
// a cancelling answer (Cancel, or OK when OK is its only button); a Yes/No or
// Abort/Retry/Ignore question waits for one of its buttons, which its access letter presses
// with or without Alt, as on the platform's box. The text wraps within the box, at
// a word where it can and anywhere in a word longer than a line (a path, a list of names
// without blanks); a text too long for the screen scrolls inside a box that fits the screen, so
// the buttons stay in reach.
class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    MessageDialog(const QString &text, long style, const QString &title, QWidget *owner = nullptr);

    // The answer (Msg::OK, Msg::Yes, ...) of the button pressed, 0 while none was.
    long answer() const { return m_answer; }

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fitToScreen(QWidget &buttons);

    long m_style;
    long m_answer = 0;
    QTextEdit *m_text;
};

} // namespace host::ui
