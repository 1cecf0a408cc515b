#pragma once

#include <optional>
#include <string>

class SheetRow;
struct BaseDataDicts;

// Whether the record holds a value in a column the import reads: a line holding values only in
// the columns it passes over (a formula dragged down a template) is no record of the import.
bool holdsImportedCell(const SheetRow &row);

// Tests one sheet record against the base data; the first test that fails gives the message
// of the row's line in the error list. recordNo counts data lines from 1. A cell that a test
// cannot read (a shelf-life period that is no number) is an error, not a refusal.
std::optional<std::string> checkImportRow(const SheetRow &row, const BaseDataDicts &dicts,
                                          long recordNo, bool mtoPlanMode);
