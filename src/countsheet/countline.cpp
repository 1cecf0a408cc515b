#include "countsheet/countline.h"

#include "services/columnlength.h"

namespace {

using host::ui::CellType;
namespace C = EntryCol;
using S = CellSource;
using D = DecimalsRule;

// The limits the quantity cells take; the conversion rate takes no value below 0.
constexpr double kQtyMin = -9999999999.9999;
constexpr double kQtyMax = 9999999999.9999;
constexpr double kIdLimit = 99999999;
constexpr long kNumberExport = 7;
constexpr long kTextExport = 10;
constexpr long kYellow = 0xD8FFFF;
constexpr long kPaleYellow = 0xDBFDFB;

using CL = CountLine;

// The members a column leaves out keep their defaults; GCC 12 warns of them even where the
// initialisers are designated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// clang-format off
constexpr std::array<EntryColumn, EntryCol::kCount> kColumns{{
    {.col = C::ItemID, .field = "FItemID", .source = S::Id, .maxLength = 255, .key = true,
     .id = &CL::itemId, .caption = "FItemID", .width = 0, .backColor = 0xEBEBEB, .hidden = true},
    {.col = C::StockNumber, .field = "FStockNumber", .otherField = "FStockShortNumber",
     .source = S::Code, .maxLength = 255, .text = &CL::stockNumber, .exportType = kTextExport,
     .caption = "仓库代码", .translated = true, .width = 960, .hidden = true},
    {.col = C::StockName, .field = "FStockName", .maxLength = 255, .text = &CL::stockName,
     .exportType = kTextExport, .caption = "仓库", .translated = true, .width = 960},
    {.col = C::SPNumber, .field = "FSPNumber", .otherField = "FSPShortNumber", .source = S::Code,
     .maxLength = 255, .text = &CL::spNumber, .exportType = kTextExport, .caption = "仓位代码",
     .translated = true, .hidden = true},
    {.col = C::SPName, .field = "FSPName", .maxLength = 255, .text = &CL::spName,
     .exportType = kTextExport, .caption = "仓位", .translated = true, .backColor = kYellow},
    {.col = C::ItemNumber, .field = "FNumber", .otherField = "FShortNumber", .source = S::Code,
     .maxLength = 255, .text = &CL::itemNumber, .exportType = kTextExport, .caption = "物料代码",
     .translated = true, .width = 1320, .backColor = kYellow},
    {.col = C::ItemName, .field = "FName", .maxLength = 255, .text = &CL::itemName,
     .exportType = kTextExport, .caption = "物料名称", .translated = true, .width = 1155,
     .backColor = kYellow},
    {.col = C::Model, .field = "FModel", .maxLength = 255, .text = &CL::model,
     .exportType = kTextExport, .caption = "规格型号", .translated = true, .width = 1185,
     .backColor = 0xDEFEFC},
    {.col = C::AuxPropNumber, .field = "FAuxPropNumber", .otherField = "FAuxPropShortNumber",
     .source = S::Code, .maxLength = 255, .text = &CL::auxPropNumber, .exportType = kTextExport,
     .caption = "辅助属性代码", .translated = true, .hidden = true},
    {.col = C::AuxPropName, .field = "FAuxPropName", .maxLength = 255, .text = &CL::auxPropName,
     .exportType = kTextExport, .caption = "辅助属性", .translated = true},
    {.col = C::BatchNo, .field = "FBatchNo", .maxLength = 255, .key = true, .text = &CL::batchNo,
     .exportType = kTextExport, .caption = "批次", .translated = true, .width = 1110,
     .backColor = kYellow},
    // The plan-tracking number has no export type: a text like the batch.
    {.col = C::MtoNo, .field = "FMtoNo", .key = true, .text = &CL::mtoNo, .caption = "计划跟踪号",
     .translated = true, .backColor = kYellow},
    {.col = C::KFDate, .field = "FKFDate", .source = S::Date, .key = true, .text = &CL::kfDate,
     .exportType = kTextExport, .caption = "生产/采购日期", .translated = true, .width = 1290,
     .backColor = kYellow},
    {.col = C::KFPeriod, .field = "FKFPeriod", .source = S::Period, .key = true,
     .id = &CL::kfPeriod, .exportType = kNumberExport, .caption = "保质期(天)",
     .translated = true, .backColor = kYellow},
    {.col = C::UnitNumber, .field = "FUnitNumber", .otherField = "FUnitShortNumber",
     .source = S::Code, .text = &CL::unitNumber, .exportType = kTextExport,
     .caption = "基本单位代码", .translated = true, .hidden = true},
    {.col = C::UnitName, .field = "FUnitName", .text = &CL::unitName, .exportType = kTextExport,
     .caption = "基本单位", .translated = true, .backColor = kYellow},
    {.col = C::Qty, .field = "FQty", .source = S::Quantity, .cellType = CellType::Float,
     .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line, .grouping = true,
     .summed = true, .number = &CL::qty, .exportType = kNumberExport,
     .caption = "基本单位账存数量", .translated = true, .width = 1095, .backColor = kYellow},
    {.col = C::QtyAct, .field = "FQtyAct", .source = S::QuantityOrZero,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .grouping = true, .summed = true, .number = &CL::qtyAct, .exportType = kNumberExport,
     .caption = "基本单位实存数量", .translated = true, .width = 1080, .backColor = kPaleYellow},
    {.col = C::CheckQty, .field = "FCheckQty", .source = S::QuantityOrZero,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .grouping = true, .summed = true, .number = &CL::checkQty, .exportType = kNumberExport,
     .caption = "基本单位盘点数量", .translated = true, .width = 1080, .backColor = kPaleYellow},
    {.col = C::CUUnitNumber, .field = "FCUUnitNumber", .otherField = "FCUUnitShortNumber",
     .source = S::Code, .text = &CL::cuUnitNumber, .exportType = kTextExport,
     .caption = "单位代码", .translated = true, .hidden = true},
    {.col = C::CUUnitName, .field = "FCUUnitName", .text = &CL::cuUnitName,
     .exportType = kTextExport, .caption = "单位", .translated = true},
    {.col = C::CUUnitQty, .field = "FCUUnitQty", .source = S::Quantity,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .grouping = true, .summed = true, .number = &CL::cuUnitQty, .exportType = kNumberExport,
     .caption = "账存数量", .translated = true, .backColor = kYellow},
    {.col = C::CUUnitQtyAct, .field = "FCUUnitQtyAct", .source = S::QuantityOrZero,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .grouping = true, .summed = true, .number = &CL::cuUnitQtyAct, .exportType = kNumberExport,
     .caption = "实存数量", .translated = true, .width = 960, .backColor = kYellow},
    {.col = C::CUUnitCheckQty, .field = "FCUUnitCheckQty", .source = S::QuantityOrZero,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .grouping = true, .summed = true, .number = &CL::cuUnitCheckQty, .exportType = kNumberExport,
     .caption = "盘点数量", .translated = true, .width = 960, .editable = true},
    {.col = C::AdjQty, .field = "FAdjQty", .source = S::QuantityOrZero,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .summed = true, .number = &CL::adjQty, .exportType = kNumberExport, .caption = "调整数量",
     .translated = true, .editable = true},
    {.col = C::SecUnitNumber, .field = "FSecUnitNumber", .otherField = "FSecUnitShortNumber",
     .source = S::Code, .text = &CL::secUnitNumber, .exportType = kTextExport,
     .caption = "辅助单位代码", .translated = true, .hidden = true},
    {.col = C::SecUnitName, .field = "FSecUnitName", .text = &CL::secUnitName,
     .exportType = kTextExport, .caption = "辅助计量单位", .translated = true},
    // Typed on a line with a second unit only; the fill unlocks it there.
    {.col = C::SecCoefficient, .field = "FSecCoefficient", .source = S::Quantity,
     .secondUnitOnly = true, .cellType = CellType::Float, .floatMin = 0, .floatMax = kQtyMax,
     .decimals = D::SecondUnit, .number = &CL::secCoefficient, .exportType = kNumberExport,
     .caption = "换算率", .translated = true},
    {.col = C::SecQty, .field = "FSecQty", .source = S::QuantityOrZero, .secondUnitOnly = true,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax,
     .decimals = D::SecondUnit, .summed = true, .number = &CL::secQty,
     .exportType = kNumberExport, .caption = "辅助计量单位账存数量", .translated = true,
     .width = 1065},
    {.col = C::SecQtyAct, .field = "FSecQtyAct", .source = S::Quantity, .secondUnitOnly = true,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax,
     .decimals = D::SecondUnit, .summed = true, .number = &CL::secQtyAct,
     .exportType = kNumberExport, .caption = "辅助计量单位实存数量", .translated = true},
    {.col = C::SecCheckQty, .field = "FSecCheckQty", .source = S::Quantity,
     .secondUnitOnly = true, .cellType = CellType::Float, .floatMin = kQtyMin,
     .floatMax = kQtyMax, .decimals = D::SecondUnit, .summed = true, .number = &CL::secCheckQty,
     .exportType = kNumberExport, .caption = "辅助计量单位盘点数量", .translated = true},
    {.col = C::SecAdjQty, .field = "FSecAdjQty", .source = S::Quantity, .secondUnitOnly = true,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax,
     .decimals = D::SecondUnit, .summed = true, .number = &CL::secAdjQty,
     .exportType = kNumberExport, .caption = "辅助计量单位调整数量", .translated = true},
    {.col = C::Note, .field = "FNote", .maxLength = 255, .maxBytes = ColumnLength::Note,
     .text = &CL::note,
     .exportType = kTextExport, .caption = "备注", .translated = true, .editable = true},
    {.col = C::Coefficient, .field = "FCoefficient", .source = S::Quantity,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Ten,
     .number = &CL::coefficient, .caption = "FCoefficient", .width = 0, .hidden = true},
    {.col = C::StockPlaceID, .field = "FStockPlaceID", .source = S::Id,
     .cellType = CellType::Integer, .floatMin = -kIdLimit, .floatMax = kIdLimit, .key = true,
     .id = &CL::stockPlaceId, .caption = "FSPID", .width = 0, .hidden = true},
    {.col = C::DiffQty, .field = "FQtyAct", .otherField = "FCheckQty", .source = S::Difference,
     .cellType = CellType::Float, .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line,
     .number = &CL::diffQty, .caption = "DiffQty", .width = 0, .hidden = true},
    {.col = C::UnitID, .field = "FUnitID", .source = S::Id, .key = true, .id = &CL::unitId,
     .exportType = kNumberExport, .caption = "FUnitID", .hidden = true},
    {.col = C::UnitGroupID, .field = "FUnitGroupID", .source = S::Id, .id = &CL::unitGroupId,
     .caption = "FUnitGroupID", .hidden = true},
    {.col = C::CUUnitDiffQty, .field = "FCUUnitQtyAct", .otherField = "FCUUnitCheckQty",
     .source = S::Difference, .cellType = CellType::Float, .floatMin = kQtyMin,
     .floatMax = kQtyMax, .decimals = D::Line, .grouping = true, .number = &CL::cuUnitDiffQty,
     .caption = "FAuxDiffQty", .width = 0, .hidden = true},
    {.col = C::SecUnitID, .field = "FSecUnitID", .source = S::Id, .id = &CL::secUnitId,
     .caption = "辅助计量单位ID", .translated = true, .hidden = true},
    {.col = C::AuxPropID, .field = "FAuxPropID", .source = S::Id, .key = true,
     .id = &CL::auxPropId, .caption = "辅助属性ID", .translated = true, .hidden = true},
    {.col = C::StockID, .field = "FStockID", .source = S::Id, .key = true, .id = &CL::stockId,
     .caption = "FStockID", .width = 960, .hidden = true},
    // An item without a second unit has 0 here.
    {.col = C::SecDiffQty, .field = "FSecQtyAct", .otherField = "FSecCheckQty",
     .source = S::Difference, .secondUnitOnly = true, .cellType = CellType::Float,
     .floatMin = kQtyMin, .floatMax = kQtyMax, .decimals = D::Line, .number = &CL::secDiffQty,
     .caption = "FSecDiffQty", .hidden = true},
}};
// clang-format on
#pragma GCC diagnostic pop

constexpr bool numberedInOrder()
{
    for (int i = 0; i < EntryCol::kCount; ++i)
        if (kColumns[static_cast<std::size_t>(i)].col != i + 1)
            return false;
    return true;
}
static_assert(numberedInOrder(), "the table lists the columns in their order");

} // namespace

const std::array<EntryColumn, EntryCol::kCount> &entryColumns()
{
    return kColumns;
}

const EntryColumn &entryColumn(int col)
{
    return kColumns.at(static_cast<std::size_t>(col - 1));
}

ColumnSet summedColumns()
{
    ColumnSet summed;
    for (const EntryColumn &column : kColumns)
        summed.set(static_cast<std::size_t>(column.col), column.summed);
    return summed;
}

double columnNumber(const CountLine &line, const EntryColumn &column)
{
    if (line.blank.test(static_cast<std::size_t>(column.col)))
        return 0;
    if (column.number)
        return line.*column.number;
    if (column.id)
        return static_cast<double>(line.*column.id);
    return 0;
}
