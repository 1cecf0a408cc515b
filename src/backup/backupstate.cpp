#include "backup/backupstate.h"

#include "services/modulestate.h"

BackupState &backupState()
{
    return moduleStateOf<BackupState>();
}
