#pragma once

namespace host {

// Registers every host component stand-in under its ProgID, as installing the host would.
// Safe to call more than once; a test may replace single components afterwards.
void registerHostComponents();

} // namespace host
