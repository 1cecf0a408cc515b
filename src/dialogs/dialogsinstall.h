#pragma once

// Puts the filter dialog behind the count-sheet command's filter step
// (countSheetWindows().showFilter). Called when the module's entry object is created.
void installCountSheetDialogs();
