#pragma once

#include <string>
#include <vector>

// A batch of count-line updates that reports the grid rows whose lines it did not find: the
// statements of each row are followed by a mark that records the row when its update matched
// no line, and the batch ends by selecting the recorded rows.
namespace SaveBatch {

std::string begin();
// After the statements of one row.
std::string markUnmatched(int row);
std::string end();
// The rows the batch's result names.
std::vector<int> unmatchedRows(const std::string &result);

} // namespace SaveBatch
