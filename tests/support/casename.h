#pragma once

#include <string>
#include <string_view>

// A test name for a table-driven case: its index and the ASCII letters and digits of its
// description, so the name is readable and valid.
inline std::string caseName(size_t index, std::string_view description)
{
    std::string name = "Case" + std::to_string(index);
    bool gap = true;
    for (const char c : description) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alnum) {
            if (gap)
                name += '_';
            name += c;
        }
        gap = !alnum;
    }
    return name;
}
