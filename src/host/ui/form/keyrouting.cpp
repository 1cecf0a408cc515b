#include "host/ui/form/keyrouting.h"

#include "host/ui/form/keycodes.h"

#include <QKeyEvent>

namespace host::ui {

bool routeKey(QKeyEvent &event, const KeyHandlers &handlers)
{
    int keyCode = keyCodeOf(event);
    if (keyCode && handlers.keyDown) {
        handlers.keyDown(keyCode, shiftStateOf(event.modifiers()));
        if (keyCode == 0)
            return true;
    }
    const int typed = keyAsciiOf(event);
    if (!typed || !handlers.keyPress)
        return false;
    int keyAscii = typed;
    handlers.keyPress(keyAscii);
    if (keyAscii == typed)
        return false;
    if (keyAscii != 0 && handlers.deliver) {
        QKeyEvent replacement(QEvent::KeyPress, event.key(), event.modifiers(),
                              QString(QChar(keyAscii)));
        handlers.deliver(replacement);
    }
    return true;
}

} // namespace host::ui
