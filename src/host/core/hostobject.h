#pragma once

namespace host {

// Base of the host objects a Variant can carry (dictionaries, vectors, components), the way an
// automation variant carries an object reference. Shared ownership, like a COM reference.
// A component's members are virtual, like an interface's: the module, loaded at run time with
// its own copy of the host code, then always runs the host program's implementation.
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
