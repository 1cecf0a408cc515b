#include "countsheet/maindo.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/decimaltext.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset/recordcolumn.h"
#include "host/db/recordset/recordset.h"

#include <string_view>
#include <vector>

double MainDo::QelRound(const host::Variant &NumValue, long RScale)
{
    return roundDecimalHalfAway(host::CDbl(NumValue), static_cast<int>(RScale));
}

void MainDo::GetSumData()
{
    CountSheetState &state = countSheetState();
    for (const SheetTotal &t : kSheetTotals)
        state.*t.total = 0;
    if (!p_RSMain || p_RSMain->State() != host::Recordset::adStateOpen)
        return;
    const long count = p_RSMain->RecordCount();
    if (count == 0)
        return;
    // The print and input layouts lack some quantities (the second unit's gain and loss); a
    // total whose field the sheet does not have stays 0 instead of failing the others.
    const auto position = [this](std::string_view name) {
        for (long i = 0; i < p_RSMain->FieldCount(); ++i)
            if (host::equalsNoCase(p_RSMain->Fields(i).Name(), name))
                return i;
        return -1L;
    };
    struct Summed
    {
        const host::RecordColumn *values;
        double CountSheetState::*total;
        // A second unit is summed as stored: its line's decimals are the base unit's.
        bool asStored;
    };
    std::vector<Summed> summed;
    for (const SheetTotal &t : kSheetTotals)
        if (const long field = position(t.field); field >= 0)
            summed.push_back({&p_RSMain->column(field), t.total, showsOwnDecimals(t.field)});
    const long decimalsField = position("FQtyDecimal");
    if (decimalsField < 0)
        p_RSMain->Fields("FQtyDecimal"); // refused as reading the field refuses it
    const host::RecordColumn &decimalsColumn = p_RSMain->column(decimalsField);
    // Read column by column: a Variant per summed value costs more than the sum itself.
    p_RSMain->MoveFirst();
    for (const size_t row : p_RSMain->rowsAhead()) {
        const auto decimals = static_cast<int>(host::CLng(decimalsColumn.value(row)));
        for (const auto &[values, total, asStored] : summed) {
            const double value = values->isNull(row)      ? 0.0
                                 : values->holdsNumbers() ? values->number(row)
                                                          : host::CDbl(values->value(row));
            state.*total += asStored ? value : roundDecimalHalfAway(value, decimals);
        }
    }
    p_RSMain->Move(count);
}
