#pragma once

#include "countsheet/countlinesql.h"
#include "host/core/hosterror.h"
#include "host/db/tsql/sqlbatch.h"

#include <optional>
#include <span>
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
//
// A server receives each batch as its text. The embedded database runs the statements of a batch
// as a group (host::StatementGroup), each line's values bound straight into the statements, and
// the rows each statement changed tell whether it found its line.
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
    // A line waiting to be sent: its row and what its statements write and find it by.
    struct Waiting
    {
        int row;
        CountLineUpdate line;

        // The order of the count lines' key index.
        bool before(const Waiting &other) const;
    };
    using Lines = std::span<const Waiting *const>;

    std::vector<const Waiting *> inKeyOrder() const;
    void send(Lines lines);
    // Runs the lines' statements; false when the database refused them.
    bool run(Lines lines, std::string *reason);
    // The rows among the lines whose statements found no line.
    std::vector<int> runText(Lines lines);
    std::vector<int> runBound(Lines lines);

    std::vector<Waiting> m_waiting;
    // The two statements the embedded database runs, their text made for the first line.
    host::SqlBatch::Statement m_quantities;
    host::SqlBatch::Statement m_differences;
    std::vector<int> m_saved;
    std::vector<int> m_unmatched;
    std::vector<Refusal> m_refused;
    bool m_sentAny = false;
    std::optional<host::HostError> m_databaseFailure;
};
