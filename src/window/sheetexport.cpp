#include "window/sheetexport.h"

#include "countsheet/countline.h"
#include "countsheet/decimaltext.h"
#include "countsheet/maindo.h"
#include "host/core/dictionary.h"
#include "host/core/objectfactory.h"
#include "host/core/variant.h"
#include "host/exporter/exportengine.h"
#include "host/ui/ledger/ledgergrid.h"
#include "host/ui/spread/spreadgrid.h"
#include "host/ui/spread/spreadmodel.h"
#include "services/mparse.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kTitleRows = 2;
// The texts of a column the export keeps converted.
constexpr long kConvertedTexts = 16384;

std::shared_ptr<host::ExportEngine> newEngine()
{
    return host::CreateObjectAs<host::ExportEngine>(host::ExportEngine::ProgId);
}

// A number goes to the decimals the database keeps; one that is no number leaves the cell empty.
void setStoredNumber(host::ExportRowData &row, long col, double number)
{
    if (const auto stored = storedNumber(number))
        row.setNumber(col, *stored);
}

} // namespace

void exportEntryGrid(host::ui::SpreadGrid &grid, bool mtoPlanMode, const host::Dictionary &colTypes)
{
    if (grid.MaxRows() < 1)
        return;
    std::vector<int> columns;
    for (int col = EntryCol::StockNumber; col <= EntryCol::Note; ++col)
        if (col != EntryCol::MtoNo || mtoPlanMode)
            columns.push_back(col);
    const auto engine = newEngine();
    engine->setRows(grid.MaxRows() - 1);
    engine->setCols(static_cast<long>(columns.size()));
    for (size_t k = 0; k < columns.size(); ++k) {
        const long exportCol = static_cast<long>(k + 1);
        const int col = columns[k];
        // The plan-tracking number has no entry of its own; it is a text like the batch.
        long type = host::ExportEngine::TextType;
        long length = 200;
        if (const auto entry = colTypes.Value(std::to_string(col)).as<host::Dictionary>()) {
            type = host::CLng(entry->Value("ColType"));
            length = host::CLng(entry->Value("ColLength"));
        }
        engine->setColLength(exportCol, length);
        engine->setColType(exportCol, type);
        engine->setColCaption(exportCol, grid.GetText(col, 0).toStdString());
    }
    const host::ui::SpreadModel &cells = grid.spreadModel();
    // Names and codes repeat down a column, which holds each text once: each is converted once.
    std::vector<std::vector<std::optional<std::string>>> texts(columns.size());
    engine->LoadData = [&cells, &columns, &texts](long nRow, host::ExportRowData &ColData) {
        const auto row = static_cast<int>(nRow);
        for (size_t k = 0; k < columns.size(); ++k) {
            const long exportCol = static_cast<long>(k + 1);
            const int col = columns[k];
            if (cells.cellIsNumber(col, row)) {
                setStoredNumber(ColData, exportCol, cells.cellNumber(col, row));
                continue;
            }
            const long index = cells.cellTextIndex(col, row);
            if (index < 0)
                continue;
            // Past so many a column's texts seldom repeat (batch numbers): they are converted as
            // they come, and the texts kept stay few.
            if (index >= kConvertedTexts) {
                ColData.setItem(exportCol, cells.cellValue(col, row).toStdString());
                continue;
            }
            auto &converted = texts[k];
            if (static_cast<size_t>(index) >= converted.size())
                converted.resize(static_cast<size_t>(index) + 1);
            auto &text = converted[static_cast<size_t>(index)];
            if (!text)
                text = cells.cellValue(col, row).toStdString();
            ColData.setItem(exportCol, *text);
        }
    };
    engine->Run(MParse::LoadLangString("物料盘点表"));
}

void exportLedger(host::ui::LedgerGrid &ledger, const std::vector<ColumnTemplate> &columns,
                  MainDo &sheet)
{
    std::vector<int> visible;
    for (int col = 1; col <= ledger.Face().Cols(); ++col)
        if (!ledger.Col(col).Switch(host::ui::LedgerGrid::HiddenSwitch))
            visible.push_back(col);
    const auto engine = newEngine();
    engine->setCols(static_cast<long>(visible.size()));
    for (size_t k = 0; k < visible.size(); ++k) {
        const long exportCol = static_cast<long>(k + 1);
        const int col = visible[k];
        const auto index = static_cast<size_t>(col - 1);
        const long colType = index < columns.size() ? columns[index].ColType : 1;
        engine->setColCaption(exportCol, ledger.Cell(1, col).Text().toStdString());
        engine->setColType(exportCol, colType >= 2 && colType <= 4 ? host::ExportEngine::NumberType
                                                                   : host::ExportEngine::TextType);
        engine->setColLength(exportCol, 255);
    }
    // Data rows follow the two title rows whether the ledger shows one or two of them.
    engine->setRows(std::max(ledger.Face().Rows() - kTitleRows, 0));
    engine->LoadData = [&sheet, &visible](long nRow, host::ExportRowData &ColData) {
        const std::vector<LedgerCell> cells = sheet.DRowCells(kTitleRows + nRow);
        for (size_t k = 0; k < visible.size(); ++k) {
            const auto index = static_cast<size_t>(visible[k] - 1);
            if (index >= cells.size())
                continue;
            const LedgerCell &cell = cells[index];
            if (cell.number)
                setStoredNumber(ColData, static_cast<long>(k + 1), *cell.number);
            else
                ColData.setItem(static_cast<long>(k + 1), cell.text);
        }
    };
    engine->Run(MParse::LoadLangString("盘点表"));
}
