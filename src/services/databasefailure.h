#pragma once

#include <exception>
#include <optional>
#include <string>

// Why a step failed when the database itself stood in the way (busy, read-only, unreadable):
// a text for the user, in the user's language where the cause is known. Nothing when the
// failure lies in what the step sent.
std::optional<std::string> databaseFailureCause(const std::exception &error);

// What a message shows after its own sentence: that cause, or else the error's description.
std::string failureDescription(const std::exception &error);
