#include "import/importrowcheck.h"

#include "host/importer/sheetrecords.h"
#include "import/basedatadicts.h"
#include "import/importsheet.h"
#include "services/mparse.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

using C = ImportSheet::Column;

// The columns whose cells the import reads; the others may hold anything.
constexpr C kReadColumns[] = {C::StockNumber,  C::StockName, C::SPNumber,       C::SPName,
                              C::ItemNumber,   C::ItemName,  C::AuxPropNumber,  C::AuxPropName,
                              C::BatchNo,      C::MtoNo,     C::KFDate,         C::KFPeriod,
                              C::FUnitNumber,  C::FUnitName, C::FCCUnitNumber,  C::FCCUnitName,
                              C::CheckQty,     C::AdjQty,    C::FSecUnitNumber, C::FSecUnitName,
                              C::FSecCheckQty, C::FNote};
// Those read as numbers or dates.
constexpr C kNumberColumns[] = {C::KFDate, C::KFPeriod, C::CheckQty, C::AdjQty, C::FSecCheckQty};

// A cell whose value cannot be taken for what it stands for: a formula the workbook holds no
// result of, or TRUE or FALSE where a number or date belongs (as a number it would be -1 or 0).
std::optional<std::string> oddCell(const SheetRow &row, long recordNo)
{
    for (const C column : kReadColumns) {
        if (host::isUncomputedFormula(row.cell(column)))
            return MParse::FormatLangString(
                "第%1条记录的%2是没有计算结果的公式，请先用电子表格程序打开并保存工作簿!",
                {recordNo, row.caption(column)});
    }
    for (const C column : kNumberColumns) {
        if (row.cell(column).type() == host::VariantType::Boolean)
            return MParse::FormatLangString("第%1条记录的%2是逻辑值，不是数字或日期!",
                                            {recordNo, row.caption(column)});
    }
    return std::nullopt;
}

std::string message(std::string_view text, long recordNo)
{
    return MParse::FormatLangString(text, {recordNo});
}

std::string missing(std::string_view text, long recordNo, const std::string &name)
{
    return MParse::FormatLangString(text, {recordNo, name});
}

} // namespace

bool holdsImportedCell(const SheetRow &row)
{
    return std::any_of(std::begin(kReadColumns), std::end(kReadColumns),
                       [&row](C column) { return !row.cell(column).isNull(); });
}

std::optional<std::string> checkImportRow(const SheetRow &row, const BaseDataDicts &dicts,
                                          long recordNo, bool mtoPlanMode)
{
    if (auto odd = oddCell(row, recordNo))
        return odd;
    const std::string item = row.key(C::ItemNumber, C::ItemName);
    if (!dicts.item.Exists(item))
        return missing("第%1条记录的物料为：%2 在基础资料中不存在!", recordNo,
                       row.text(C::ItemName));
    if (!dicts.measureUnit.Exists(row.key(C::FUnitNumber, C::FUnitName)))
        return missing("第%1条记录的基本单位为：%2在基础资料中不存在!", recordNo,
                       row.text(C::FUnitName));
    if (!dicts.measureUnit.Exists(row.key(C::FCCUnitNumber, C::FCCUnitName)))
        return missing("第%1条记录的单位为：%2在基础资料中不存在!", recordNo,
                       row.text(C::FCCUnitName));
    if (!dicts.stock.Exists(row.key(C::StockNumber, C::StockName)))
        return missing("第%1条记录的仓库为：%2在基础资料中不存在!", recordNo,
                       row.text(C::StockName));
    if (!dicts.stockPlace.Exists(row.key(C::SPNumber, C::SPName)))
        return missing("第%1条记录的仓位为：%2在基础资料中不存在!", recordNo, row.text(C::SPName));

    const bool batch = dicts.itemBatch.Exists(item);
    if (batch && row.isEmpty(C::BatchNo))
        return message("第%1条记录进行批次管理物料批次为空!", recordNo);
    if (!batch && !row.isEmpty(C::BatchNo))
        return message("第%1条记录不进行批次管理物料批次不为空!", recordNo);

    const bool aux = dicts.itemAuxProp.Exists(item);
    if (aux && row.isEmpty(C::AuxPropName))
        return message("第%1条记录进行辅助属性管理物料辅助属性为空!", recordNo);
    if (!aux && !row.isEmpty(C::AuxPropName))
        return message("第%1条记录不进行辅助属性管理物料辅助属性不为空!", recordNo);
    if (aux) {
        const std::string classId = host::CStr(dicts.itemAuxProp.Value(item));
        if (!dicts.auxItemClass->Exists(row.key(C::AuxPropNumber, C::AuxPropName) + "|" + classId))
            return message("第%1条记录的辅助属性类别与物料辅助属性类别不一致!", recordNo);
    }

    const bool period = dicts.itemPeriod.Exists(item);
    if (period && row.isEmpty(C::KFDate))
        return message("第%1条记录进行了保质期管理但生产/采购日期为空!", recordNo);
    if (!period && !row.isEmpty(C::KFDate))
        return message("第%1条记录不进行保质期管理但生产/采购日期不为空!", recordNo);
    const host::Variant &kfPeriod = row.cell(C::KFPeriod);
    if (period && kfPeriod.isNull())
        return message("第%1条记录进行了保质期管理但保质期为空或不正确!", recordNo);
    if (!period && !kfPeriod.isNull() && host::CDbl(kfPeriod) != 0)
        return message("第%1条记录不进行保质期管理但保质期不为空!", recordNo);

    if (mtoPlanMode && dicts.itemSerial.Exists(item) && !row.isEmpty(C::MtoNo))
        return message("第%1条记录启用了序列号管理但计划跟踪号不为空！", recordNo);
    return std::nullopt;
}
