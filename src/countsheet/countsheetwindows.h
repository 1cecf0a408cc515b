#pragma once

#include <functional>

// The two windows the count-sheet command opens, which live in the window folders above the
// engine. Each folder installs its opener when the module starts; an opener shows its window
// modally and returns when it is closed.
struct CountSheetWindows
{
    // The filter and sort dialog on the given sheet type and tab; leaves gFilterCancelled set.
    std::function<void(long showType, long optionTab)> showFilter;
    // The count-sheet window in the given show type.
    std::function<void(long showType)> showCountSheet;
};

CountSheetWindows &countSheetWindows();
