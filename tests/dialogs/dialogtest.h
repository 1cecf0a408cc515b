#pragma once

#include "countsheet/countsheetdb.h"

#include <QString>
#include <QTemporaryDir>

namespace host::ui {
class SpreadGrid;
}

// The count-sheet database of CountSheetDbTest with the user's settings, state and log in a
// folder of the test's own.
class DialogTest : public CountSheetDbTest
{
public:
    // A user's entry into a cell: the cell becomes the active one, then takes the text.
    static void type(host::ui::SpreadGrid &grid, int col, int row, const QString &text);

protected:
    void SetUp() override;

    QTemporaryDir m_home;
};
