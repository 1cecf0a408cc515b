#pragma once

#include <functional>

class QKeyEvent;

namespace host::ui {

struct KeyHandlers
{
    // Key code and shift state; a handler that sets the key code to 0 drops the key.
    std::function<void(int &, int)> keyDown;
    // Typed character; 0 drops it, another code replaces it.
    std::function<void(int &)> keyPress;
    // Delivers the event that replaces the typed character.
    std::function<void(QKeyEvent &)> deliver;
};

// Raises KeyDown and KeyPress for a key press as the module's handlers expect them. Returns
// true when the key is used up: dropped, or replaced and the replacement delivered.
bool routeKey(QKeyEvent &event, const KeyHandlers &handlers);

} // namespace host::ui
