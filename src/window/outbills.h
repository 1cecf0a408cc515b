#pragma once

#include <string>

// Shows the bill just made in the host's bill list: a one-row list of the bill id and its
// transaction type ("40" gain, "43" loss), on the module's second connection.
void ShowOutBills(const std::string &tranType, long billId);
