#pragma once

#include <QString>

class QToolBar;

namespace host::ui {

class LedgerGrid;

// Stand-in of the host's user-interface helper object (gUIHelper).
class UIHelper
{
public:
    // The title row of a ledger from "|"-separated captions (a caption's trailing "$" is
    // dropped). A caption "Group$Name$" puts Group in title row 1 and Name in title row 2 and
    // gives the ledger two title rows; row 2 texts are written into the ledger directly.
    // Returns the text of title row 1, each cell followed by "|".
    static QString titleRow(LedgerGrid &ledger, int row, const QString &captions);
    // Shows or hides the captions of a tool bar's buttons.
    static void showToolCaptions(QToolBar &bar, bool show);
};

} // namespace host::ui
