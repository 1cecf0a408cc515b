#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace host {

// The workbook writer writes each number with 16 significant digits in the C library's locale,
// which shows a double's binary noise (731.07 comes out as 731.0700000000001) and, under a
// locale with a decimal comma, is no number at all. A number it did not write as the shortest
// text that reads back as the same double is written again, by its place among the numbers of
// the sheet.
struct SheetNumber
{
    std::size_t index; // the number's place among the sheet's numbers, in the order written
    double value;
};

// Whether the writer's text of the value is its shortest text.
bool writtenAsShortest(double value);

// Writes each of the numbers, in the order of their places, as its shortest text into the first
// worksheet of the workbook. Throws HostError when the workbook cannot be read or written.
void rewriteSheetNumbers(const std::string &workbook, std::span<const SheetNumber> numbers);

} // namespace host
