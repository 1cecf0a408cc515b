#pragma once

#include <functional>
#include <memory>

// What the process list runs on an entry object of its own: its New command opens the backup
// window and its Open command the count sheet, each through a new entry object that is
// released when the window closes. The entry class supplies the factory, so this library does
// not depend on it.
class ProcListEntry
{
public:
    virtual ~ProcListEntry() = default;
    virtual void BackupCheckData() = 0;
    virtual void CheckDataCheck(long m_EmpID) = 0;
};

using ProcListEntryFactory = std::function<std::unique_ptr<ProcListEntry>()>;
