#pragma once

#include "host/core/stringbuilder.h"

#include <initializer_list>
#include <string_view>

// Appends each line followed by CR LF, the way every statement text of the import is laid out.
inline void appendLines(host::StringBuilder &sql, std::initializer_list<std::string_view> lines)
{
    for (const auto line : lines) {
        sql.Append(line);
        sql.Append("\r\n");
    }
}
