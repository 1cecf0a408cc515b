#pragma once

#include <QString>

#include <map>
#include <vector>

// Reads an .xlsx workbook the way another spreadsheet program would: the parts taken out of
// the archive with unzip and their XML parsed here, independent of the program's own reader.
namespace xlsxparts {

// One cell of the first worksheet: its kind ("n" number, "inlineStr" or "str" text) and its
// text.
struct Cell
{
    QString kind;
    QString text;
};

// A part of the archive as text; empty when it is missing.
QString part(const QString &workbook, const QString &name);

// The first worksheet's cells by row and column, both counted from 1.
std::map<int, std::map<int, Cell>> sheetCells(const QString &workbook);

} // namespace xlsxparts
