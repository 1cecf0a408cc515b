#pragma once

namespace host::ui {

// Why a cell refused what a user typed into it, with what a number cell takes.
struct CellRefusal
{
    enum Kind
    {
        NotANumber,
        // limit: the decimals the cell takes.
        TooManyDecimals,
        // limit: the smallest or the largest number the cell takes.
        BelowMinimum,
        AboveMaximum,
        // The cell takes no typing.
        Locked
    };
    Kind kind = NotANumber;
    double limit = 0;
};

} // namespace host::ui
