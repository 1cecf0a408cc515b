#pragma once

// The module-wide variables of the count processes and the stock backup.
struct BackupState
{
    // The snapshot maxima: the highest stock-bill and plan-tracking change ids, read before a
    // backup and set from the process the count sheet loads.
    long gMaxBillInterID = 0;
    long gMaxMTOChangeID = 0;

    // Whether gMaxBillInterID and gMaxMTOChangeID were read for the backup under way: a backup
    // runs only on maxima taken for it, and a failed read is told to the user once.
    enum class SnapshotMaxima
    {
        NotRead,
        Taken,
        ReadFailed,
        FailureReported
    };
    SnapshotMaxima gSnapshotMaxima = SnapshotMaxima::NotRead;
};

BackupState &backupState();
