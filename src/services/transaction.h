#pragma once

#include <string_view>

// Runs the statements through the application connection as one transaction: on any failure
// none of them stays done. The server is asked to abort the batch on the first error (a
// statement's error alone would not roll back what ran before it), as the embedded database
// does anyway; the error reaches the caller.
void executeInTransaction(std::string_view statements);
