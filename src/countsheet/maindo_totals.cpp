#include "countsheet/maindo.h"

#include "countsheet/countsheetstate.h"
#include "countsheet/decimaltext.h"
#include "countsheet/sheettotals.h"
#include "host/core/text.h"
#include "host/db/recordset/recordset.h"

#include <utility>
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
    std::vector<std::pair<host::Field, double CountSheetState::*>> summed;
    for (const SheetTotal &t : kSheetTotals) {
        for (long i = 0; i < p_RSMain->FieldCount(); ++i) {
            if (host::equalsNoCase(p_RSMain->Fields(i).Name(), t.field)) {
                summed.emplace_back(p_RSMain->Fields(i), t.total);
                break;
            }
        }
    }
    const host::Field decimalsField = p_RSMain->Fields("FQtyDecimal");
    p_RSMain->MoveFirst();
    for (long i = 0; i < count; ++i) {
        const long decimals = host::CLng(decimalsField.Value());
        for (const auto &[field, total] : summed) {
            const host::Variant value = field.Value();
            state.*total += QelRound(value.isNull() ? host::Variant(0) : value, decimals);
        }
        p_RSMain->MoveNext();
    }
}
