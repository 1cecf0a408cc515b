#pragma once

#include "window/frmmain.h"

#include <memory>

// The count-sheet window in a mode (1 check, 3 print, 4 input) loaded on the count the module was
// handed, as the host opens it.
inline std::unique_ptr<frmMain> openWindow(long showType)
{
    auto window = std::make_unique<frmMain>();
    window->ShowType(showType);
    window->Load();
    return window;
}
