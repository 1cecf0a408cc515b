#pragma once

// Puts the count-sheet window behind the count-sheet command's opener. The module's entry calls
// it when it starts.
void installCountSheetWindow();
