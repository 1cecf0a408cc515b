#pragma once

#include "host/core/hosterror.h"
#include "host/db/tsql/sqlbatch.h"

#include <optional>
#include <string>
#include <vector>

struct CountLine;

// The save of edited count lines, fed in grid order. A line that passes the checks waits; once
// every line is in, the waiting lines are sent in the order of the count lines' key, their two
// statements in batches of 100 lines: the lines of one batch then lie close together in the table,
// where the grid's order would scatter each batch's writes over all of it. Each batch stands by
// itself. A batch the database refuses is sent again line by line, so every line that can be
// saved is, and each one that cannot is known with the database's reason. A failure of the
// database itself (busy, read-only, full, unreadable) would refuse every line alike, each after
// its own wait: it ends the save instead, whether it meets the batch or a line sent alone, the
// lines of that batch not saved by then and of the batches after it left unsent. Every line's
// statements note whether they found the line, and the batch tells which did not.
class CountLineSave
{
public:
    static constexpr int kLinesPerBatch = 100;

    struct Refusal
    {
        int row;
        std::string reason; // the database's, one line
    };

    // Room for the lines expected is taken at once.
    explicit CountLineSave(size_t expected);
    ~CountLineSave();
    CountLineSave(const CountLineSave &) = delete;
    CountLineSave &operator=(const CountLineSave &) = delete;

    // Checks the line of a grid row and, when it passes, keeps it to be sent; the check's code.
    long add(int row, const CountLine &line);
    // Sends the lines kept.
    void finish();

    // Rows whose lines were written, rows whose lines the database no longer holds, and rows
    // whose statements the database refused, each in grid order.
    const std::vector<int> &saved() const { return m_saved; }
    const std::vector<int> &unmatched() const { return m_unmatched; }
    const std::vector<Refusal> &refused() const { return m_refused; }
    // Whether anything was sent to the database.
    bool sentAny() const { return m_sentAny; }
    // The failure of the database that ended the save, if one did.
    const std::optional<host::HostError> &databaseFailure() const { return m_databaseFailure; }

private:
    // What a line's statements write and find it by, as its grid row held it: of the whole line,
    // only what the save needs waits.
    struct Waiting
    {
        Waiting(int at, const CountLine &line);
        // Writes what it keeps into the line.
        void into(CountLine &line) const;
        // The order of the count lines' key index.
        bool before(const Waiting &other) const;

        int row;
        long itemId, stockId, stockPlaceId, auxPropId, unitId, kfPeriod;
        std::string batchNo, mtoNo, kfDate, note;
        double numbers[12];
    };
    // A line in the batch: its row and its statements there.
    struct Pending
    {
        int row;
        size_t first;
        size_t end;
    };
    std::vector<const Waiting *> inKeyOrder() const;
    void send();
    void sendBatch();
    // Runs the batch of the lines; false when the database refused it.
    bool run(const host::SqlBatch &batch, const std::vector<Pending> &lines, std::string *reason);

    std::vector<Waiting> m_waiting;
    // The statements of the lines in the batch, after the batch's opening ones.
    host::SqlBatch m_batch;
    std::vector<Pending> m_pending;
    std::vector<int> m_saved;
    std::vector<int> m_unmatched;
    std::vector<Refusal> m_refused;
    bool m_sentAny = false;
    std::optional<host::HostError> m_databaseFailure;
};
