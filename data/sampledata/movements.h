#pragma once

#include "sampledata/company.h"
#include "sampledata/random.h"

namespace sampledata {

// Adds stock bills and plan-tracking changes of the current period over the book stock, in
// every state (audited, posted when saved, unaudited, cancelled), and sets each position's
// opening balance so that balance plus effective movements gives the book stock.
void addMovements(Company &company, Random &random, int billCount, int changeCount);

} // namespace sampledata
