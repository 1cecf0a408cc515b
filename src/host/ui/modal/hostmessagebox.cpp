#include "host/ui/modal/hostmessagebox.h"

#include "host/ui/modal/modalservices.h"

namespace host::ui {

long HostMessageBox::Show(long style, const QString &secondText, long)
{
    const QString shown = secondText.isEmpty() ? m_text : m_text + QLatin1Char('\n') + secondText;
    m_result = modals().hostMessage(userText(shown), style);
    return m_result;
}

} // namespace host::ui
