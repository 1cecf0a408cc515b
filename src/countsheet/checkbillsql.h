#pragma once

#include <string>

// The count-sheet SQL builder. Rebuilds the module-wide gHeaderSQL (the column template of
// gShowType) and gMainSQL (the count-sheet query body in the layout of gShowType: 1 check,
// 3 print book, anything else input), with the user's row-level access and, unless
// bShowDelete, without items marked deleted. Errors of the row-level access or language
// routines reach the caller with both strings as they were.
void BuildCheckBillSQL(bool bShowDelete);

// The condition that leaves out deleted items; empty when they are shown.
std::string deletedCondition(bool bShowDelete);
