#pragma once

#include "sampledata/company.h"

namespace sampledata {

// The users of the sample company: a stock manager and a store keeper who may change counts
// (the keeper sees only the first two stocks), an accountant who may only view the count
// report and a clerk without rights.
void addUsers(Company &company);

} // namespace sampledata
