#pragma once

#include <QString>
#include <QValidator>

namespace host::ui {

// The bytes a text takes in the Chinese double-byte code page of the server's varchar columns,
// which the platform's text boxes counted their limits in: one for an ASCII character, two for
// any other.
int codePageBytes(const QString &text);

// The text without what goes beyond maxChars characters or maxBytes code-page bytes (-1: no
// such limit), cut before the character at cut, the end of what was typed or pasted, so that
// what the user had already stays.
QString withinLength(QString text, int maxChars, int maxBytes, int *cut = nullptr);

// Keeps what is typed or pasted into a line edit within a length: of what goes beyond, the
// newest is dropped, as a full box takes nothing more.
class LengthValidator : public QValidator
{
    Q_OBJECT

public:
    LengthValidator(int maxChars, int maxBytes, QObject *parent);

    State validate(QString &input, int &pos) const override;

private:
    int m_maxChars;
    int m_maxBytes;
};

} // namespace host::ui
