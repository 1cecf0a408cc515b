#include "dialogs/refusaltext.h"

#include "host/ui/spread/cellrefusal.h"
#include "host/ui/spread/numberformat.h"
#include "services/mparse.h"

namespace {

QString formatted(std::string_view source, const QString &caption, const QString &limit)
{
    return QString::fromStdString(
        MParse::FormatLangString(source, {caption.toStdString(), limit.toStdString()}));
}

} // namespace

QString refusalText(const QString &caption, const host::ui::CellRefusal &refusal)
{
    using host::ui::CellRefusal;
    const QString limit = host::ui::editText(refusal.limit);
    switch (refusal.kind) {
    case CellRefusal::TooManyDecimals:
        if (refusal.limit < 1)
            return formatted("%1只能输入整数", caption, limit);
        return formatted("%1最多 %2 位小数", caption, limit);
    case CellRefusal::BelowMinimum:
        return formatted("%1不能小于 %2", caption, limit);
    case CellRefusal::AboveMaximum:
        return formatted("%1不能大于 %2", caption, limit);
    case CellRefusal::Locked:
        return formatted("%1不能修改", caption, limit);
    case CellRefusal::NotANumber:
        break;
    }
    return formatted("%1只能输入数字", caption, limit);
}
