#pragma once

namespace host::ui {

// Why a number cell refused the text a user typed into it, with what the cell takes.
struct CellRefusal
{
    enum Kind
    {
        NotANumber,
        // limit: the decimals the cell takes.
        TooManyDecimals,
        // limit: the smallest or the largest number the cell takes.
        BelowMinimum,
        AboveMaximum
    };
    Kind kind = NotANumber;
    double limit = 0;
};

} // namespace host::ui
