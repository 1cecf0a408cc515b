#pragma once

#include "host/db/appconnection.h"
#include "host/ui/modal/scriptedmodals.h"
#include "support/benchsizes.h"
#include "support/sheetquery.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

// The lines a comparison runs on. Own: the demo company with one open count process (id 1) of
// `lines` lines over its items, stocks and places, every tenth line with a shelf life, items with
// a second unit with second-unit quantities. Company: the company `init-db --rows lines` makes,
// with a count process (id 1) of its whole book stock as the backup groups it, about as many
// lines.
enum class SheetData
{
    Own,
    Company
};
inline constexpr SheetData kSheetData[] = {SheetData::Own, SheetData::Company};
const char *sheetDataName(SheetData data);

// The database file of the lines, in a temporary folder. One database of each kind at a time;
// asking for another size replaces it.
std::shared_ptr<host::AppConnection> countSheetDatabase(long lines,
                                                        SheetData data = SheetData::Own);
sqlite3 *countSheetHandle(long lines, SheetData data = SheetData::Own);
std::string countSheetPath(SheetData data);
// The same database written to a file of the caller's, for programs of their own to open.
void writeCountSheetFile(const std::string &path, long lines, SheetData data);

// The module as the host hands it a count sheet: connection, operator 16, the show type, no
// filter, settings kept away from the user's own; messages and file dialogs are answered by the
// modals returned.
host::ui::ScriptedModals &setUpCountSheet(long lines, long showType,
                                          SheetData data = SheetData::Own);
// The same on a database file of the caller's, as the host opens it.
host::ui::ScriptedModals &openCountSheetFile(const std::string &path, long showType);

// Steps a query, reading every column of every row and keeping nothing but, when named, the
// totals of columns, each line's value rounded to its FQtyDecimal first; the rows stepped.
long stepQuery(sqlite3 *db, const std::string &sql, const std::vector<std::string> &summed = {});

// A comparison on each kind of lines: `ratio` is the worse of the two, each kind's figures beside
// it.
class SheetComparison
{
public:
    Comparison &on(SheetData data) { return m_each[static_cast<int>(data)]; }
    void report(benchmark::State &state) const;

    // Runs `each(data, timed)` once on each kind untimed, so that both start warm, then once on
    // each kind per iteration, timed by that kind's comparison.
    template <typename F> void run(benchmark::State &state, F &&each)
    {
        for (const SheetData data : kSheetData) {
            Comparison warmUp;
            each(data, warmUp);
        }
        for (auto _ : state)
            for (const SheetData data : kSheetData)
                each(data, on(data));
    }

private:
    Comparison m_each[2];
};
