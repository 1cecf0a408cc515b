#pragma once

#include "host/core/variant.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class AppConnection;

// The host's options are rows of its system profile (t_SystemProfile), a value per category and
// key. Every reader of an option, the module's and the host's components alike, reads through
// these; writing an option is the writer's own statement. Categories and keys are data: quotes
// in them are doubled. Database errors reach the caller.

struct SystemOption
{
    std::string key; // trimmed
    Variant value;   // as stored, Null included
};

// The options of the keys in the categories, in the order the database returns them; a key
// without a row has no entry.
std::vector<SystemOption> readSystemOptions(AppConnection &connection,
                                            const std::vector<std::string> &categories,
                                            const std::vector<std::string> &keys);

// One option's value; nothing when it has no row.
std::optional<Variant> readSystemOption(AppConnection &connection, std::string_view category,
                                        std::string_view key);

// One option's value; a HostError that names the option when it has no row.
Variant requireSystemOption(AppConnection &connection, std::string_view category,
                            std::string_view key);

} // namespace host
