#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>

// Why a step failed when the database itself stood in the way (busy, read-only, full, damaged,
// unreadable, moved): the cause in the user's language, and on the next line the database's own
// words for whoever supports the user. Nothing when the failure lies in what the step sent.
std::optional<std::string> databaseFailureCause(const std::exception &error);

// What a message shows after its own sentence: that cause, or else the error's description.
std::string failureDescription(const std::exception &error);

// The database's own words for a failure, without the statement it was running.
std::string databaseWords(const std::exception &error);

// What the user reads after a step's own message: the sentence that says what became of their
// data, why when the database itself stood in the way, and on the next line the engine's own
// words for whoever supports the user; never the engine's words alone.
std::string explainFailure(const std::exception &error, std::string_view sentence);
