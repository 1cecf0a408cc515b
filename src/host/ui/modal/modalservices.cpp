#include "host/ui/modal/modalservices.h"

#include "host/ui/modal/qtmodals.h"

#include "host/core/hosterror.h"

#include <string>

namespace host::ui {

namespace {

ModalServices *g_installed = nullptr;

} // namespace

long Msg::defaultAnswer(long style)
{
    switch (style & 0x0F) {
    case AbortRetryIgnore:
        return Abort;
    case YesNoCancel:
    case YesNo:
        return Yes;
    case RetryCancel:
        return Retry;
    default:
        return OK;
    }
}

ModalServices &modals()
{
    return g_installed ? *g_installed : QtModals::instance();
}

ModalServices *installModals(ModalServices *services)
{
    ModalServices *previous = g_installed;
    g_installed = services;
    return previous;
}

QString userText(const QString &message)
{
    const std::string text = message.toStdString();
    return QString::fromStdString(std::string(withoutStatement(text)));
}

long MsgBox(const QString &prompt, long buttons, const QString &title)
{
    return modals().messageBox(userText(prompt), buttons, title);
}

} // namespace host::ui
