#include "countsheet/maindo.h"

#include "countsheet/decimaltext.h"
#include "countsheet/sheettotals.h"
#include "host/db/recordset.h"
#include "services/modulestate.h"

double MainDo::QelRound(const host::Variant &NumValue, long RScale)
{
    return roundDecimalHalfAway(host::CDbl(NumValue), static_cast<int>(RScale));
}

void MainDo::GetSumData()
{
    ModuleState &m = module();
    for (const SheetTotal &t : kSheetTotals)
        m.*t.total = 0;
    if (!p_RSMain || p_RSMain->State() != host::Recordset::adStateOpen)
        return;
    const long count = p_RSMain->RecordCount();
    if (count == 0)
        return;
    p_RSMain->MoveFirst();
    for (long i = 0; i < count; ++i) {
        const long decimals = host::CLng(p_RSMain->Fields("FQtyDecimal").Value());
        for (const SheetTotal &t : kSheetTotals) {
            const host::Variant &value = p_RSMain->Fields(t.field).Value();
            m.*t.total += QelRound(value.isNull() ? host::Variant(0) : value, decimals);
        }
        p_RSMain->MoveNext();
    }
}
