#pragma once

#include "sampledata/company.h"
#include "sampledata/random.h"

namespace sampledata {

// Adds the book stock of one item: rows in one to three stocks, spread over stock places,
// batches, auxiliary properties and plan-tracking numbers as the item is managed, with some
// zero and some negative quantities.
void addPositions(Company &company, Random &random, const Item &item);

// The first day of the current accounting period (periods are calendar months).
double periodStart(const Company &company);

} // namespace sampledata
