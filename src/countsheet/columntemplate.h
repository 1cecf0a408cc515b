#pragma once

#include <string>

// One column of the count sheet's ledger view, from one row of the column template
// (ICChatBillTitle) of the current show type.
struct ColumnTemplate
{
    std::string ColName; // the count-sheet field the column shows
    std::string Caption; // as stored, with the template's trailing "$"
    long ColType = 1;    // 0 date, 1 text, 2 quantity, 3 whole number
    long ColWidth = 0;   // in the ledger's width unit
    bool Visible = true;
};
