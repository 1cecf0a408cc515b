#pragma once

namespace backup {

// The transaction a backup runs in from taking its process number to its last line. It starts
// by writing the numbering row, so a second backup waits there until this one has committed or
// rolled back, and the two never read the same highest process id. Rolled back in the
// destructor unless committed; the destructor never throws.
class BackupTransaction
{
public:
    // Throws HostError when the lock cannot be had (the database is busy or read-only).
    BackupTransaction();
    ~BackupTransaction();
    BackupTransaction(const BackupTransaction &) = delete;
    BackupTransaction &operator=(const BackupTransaction &) = delete;

    void commit();

private:
    void rollback() noexcept;

    bool m_open = false;
};

} // namespace backup
