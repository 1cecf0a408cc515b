#pragma once

#include <string>

// One searchable column of the count sheet, built from a column-template row marked for
// queries. The find dialog writes SearchValue; the header-click sorts look a column up by
// ColumnKey and sort by FieldName.
struct QueryColumn
{
    std::string FieldName;
    std::string Caption;
    long DataType = 0; // 7 date, 8 text, 5 number, 3 whole number
    long ColumnKey = 0;
    long SortOrder = 0;
    std::string SearchValue;
    long FilterOperator = 0;
    std::string FilterValue;
    long ItemClassID = 0;
};
