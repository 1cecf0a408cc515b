#include "countsheet/maindo.h"

#include "countsheet/countsheetstate.h"
#include "host/core/text.h"
#include "host/db/appconnection.h"
#include "host/db/commandscope.h"
#include "host/db/recordset/recordset.h"
#include "host/ui/form/twips.h"
#include "host/ui/ledger/ledgergrid.h"
#include "services/appconn.h"
#include "services/mparse.h"
#include "services/pubvariant.h"
#include "services/trystep.h"

#include <cmath>

namespace {

ColumnTemplate readColumn(host::Recordset &rs)
{
    ColumnTemplate column;
    tryStep([&] {
        column.ColName = host::CStr(rs.Fields("FColName").Value());
        // Item codes show as short numbers unless the sheet uses full numbers.
        if (host::equalsNoCase(column.ColName, "FNUMBER") && !PubVariant::GetUseShortNumber())
            column.ColName = "FShortNumber";
    });
    tryStep([&] { column.Caption = host::CStr(rs.Fields("FColCaption").Value()); });
    tryStep([&] { column.ColType = host::CLng(rs.Fields("FColType").Value()); });
    tryStep([&] { column.ColWidth = host::CLng(rs.Fields("FColWidth").Value()); });
    tryStep([&] { column.Visible = host::CBool(rs.Fields("FVisible").Value()); });
    return column;
}

} // namespace

void MainDo::ResizeColWidth()
{
    CountSheetState &sheet = countSheetState();
    const std::shared_ptr<host::Recordset> rs = GetRSHeader();
    bool empty = true;
    tryStep([&] { empty = !host::hasRows(rs); });
    if (empty) {
        PubVariant::ShowMsg(MParse::LoadLangString("该单据的模版丢失，请更新ICChatBillTitle:SQL") +
                                sheet.gHeaderSQL,
                            0);
        return;
    }

    std::vector<ColumnTemplate> columns;
    tryStep([&] {
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext())
            columns.push_back(readColumn(*rs));
    });
    sheet.gColumns = std::move(columns);
    if (!m_Ldg)
        return;

    const int count = static_cast<int>(sheet.gColumns.size());
    m_Ldg->Face().setCols(count);
    for (int i = 1; i <= count; ++i) {
        const ColumnTemplate &column = sheet.gColumns[static_cast<size_t>(i - 1)];
        // A template width no screen shows (a 0 written by an older closing) keeps the
        // ledger's own; a sliver is widened to a readable column.
        if (const auto width = host::ui::readableColumnWidth(column.ColWidth))
            m_Ldg->Col(i).setWidth(*width);
        m_Ldg->Col(i).setSwitch(host::ui::LedgerGrid::HiddenSwitch, !column.Visible);
        if (column.ColType == 2)
            m_Ldg->Col(i).setStyle(1);
    }
}

void MainDo::SaveColWidth()
{
    try {
        // One command: the widths reach the file once, not once a column.
        const host::CommandScope command(appConn());
        const std::shared_ptr<host::Recordset> rs = appConn().Execute(countSheetState().gHeaderSQL);
        if (!rs || !m_Ldg)
            return;
        int i = 1;
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext(), ++i) {
            // Template row i belongs to ledger column i; without that column the save ends.
            if (i > m_Ldg->Face().Cols())
                return;
            // Whole widths, halves to even; a width no screen shows never reaches the template
            // that every user starts from, nor one too narrow to read.
            const auto shown = host::ui::readableColumnWidth(m_Ldg->Col(i).Width());
            if (!shown)
                continue;
            const long width = std::lrint(*shown);
            appConn().Execute(
                "Update ICChatBillTitle Set FColWidth=" + std::to_string(width) +
                " Where FTypeID=" + std::to_string(host::CLng(rs->Fields("FTypeID").Value())) +
                " And FInterID=" + std::to_string(host::CLng(rs->Fields("FInterID").Value())));
        }
    } catch (const std::exception &) {
        return;
    }
}
