#pragma once

#include "host/core/variant.h"

#include <string_view>
#include <vector>

namespace host {

enum class InvokeKind
{
    Method,
    PropertyGet,
    PropertyPut
};

// Late-bound calls by member name or dispatch id, as an automation client makes them.
class Dispatch
{
public:
    virtual ~Dispatch() = default;

    // The dispatch id of a member; an unknown name is an error (UnknownName).
    virtual long GetIDsOfNames(std::string_view name) const = 0;
    // Calls a member; an unknown id or a kind the member lacks is MemberNotFound, a wrong
    // argument count BadParamCount. Arguments passed by reference are written back into args.
    virtual Variant Invoke(long dispId, InvokeKind kind, std::vector<Variant> &args) = 0;

    Variant InvokeByName(std::string_view name, InvokeKind kind, std::vector<Variant> &args)
    {
        return Invoke(GetIDsOfNames(name), kind, args);
    }

    static constexpr long MemberNotFound = static_cast<long>(0x80020003 - 0x100000000);
    static constexpr long UnknownName = static_cast<long>(0x80020006 - 0x100000000);
    static constexpr long BadParamCount = static_cast<long>(0x8002000E - 0x100000000);

protected:
    Dispatch() = default;
    Dispatch(const Dispatch &) = default;
    Dispatch &operator=(const Dispatch &) = default;
};

} // namespace host
