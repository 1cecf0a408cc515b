#pragma once

#include <QString>

namespace host::ui {

// Stand-in of the host message class: a text shown with a button style and no title of the
// caller's own; goes through the modal services.
class HostMessageBox
{
public:
    void setText(const QString &text) { m_text = text; }
    const QString &text() const { return m_text; }
    // Shows the text; the second text, when not empty, is shown below it. Returns the button
    // pressed, which Result() keeps.
    long Show(long style, const QString &secondText = {}, long flags = -1);
    long Result() const { return m_result; }

private:
    QString m_text;
    long m_result = 0;
};

} // namespace host::ui
