#pragma once

#include <memory>
#include <string>

namespace host {
class Dictionary;
}

// The module-wide variables of the count-sheet window.
struct SheetWindowState
{
    long gSelInterID = 0; // the process the window shows
    std::string gSelProcName;
    std::shared_ptr<host::Dictionary> gColTypeDict; // export types of the entry-grid columns
};

SheetWindowState &sheetWindowState();
