#pragma once

#include <string_view>

// Runs the statements through the module's application connection as one transaction
// (host::executeInTransaction): on any failure none of them stays done, and the error reaches
// the caller.
void executeInTransaction(std::string_view statements);
