#include "backup/backuptransaction.h"

#include "backup/dbaccess.h"

#include <exception>

namespace backup {

BackupTransaction::BackupTransaction()
{
    execute("BEGIN TRAN");
    m_open = true;
    try {
        execute("update icbillno set fcurno=fcurno where fbillid=-1");
    } catch (const std::exception &) {
        rollback();
        throw;
    }
}

BackupTransaction::~BackupTransaction()
{
    rollback();
}

void BackupTransaction::commit()
{
    execute("COMMIT TRAN");
    m_open = false;
}

void BackupTransaction::rollback() noexcept
{
    if (!m_open)
        return;
    m_open = false;
    try {
        execute("IF @@TRANCOUNT > 0 ROLLBACK TRAN");
    } catch (const std::exception &) {
        // The failure that brought us here is the one to report.
    }
}

} // namespace backup
