#pragma once

// The module-wide variables of the spreadsheet import.
struct ImportState
{
    double gImportStartTime = 0; // when the last import started; test mode times the run by it
};

ImportState &importState();
