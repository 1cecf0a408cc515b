#pragma once

namespace host::ui {

// Cell kinds of the spread grids, by the vendor grid's numbers.
enum class CellType : int
{
    Date = 0,
    Edit = 1,
    Float = 2,
    Integer = 3,
    StaticText = 5,
    ComboBox = 8,
    CheckBox = 10
};

} // namespace host::ui
