#pragma once

namespace host {

// Base of the host objects a Variant can carry (dictionaries, vectors, ...), the way an
// automation variant carries an object reference. Shared ownership, like a COM reference.
class HostObject
{
public:
    virtual ~HostObject() = default;

protected:
    HostObject() = default;
    HostObject(const HostObject &) = default;
    HostObject &operator=(const HostObject &) = default;
};

} // namespace host
