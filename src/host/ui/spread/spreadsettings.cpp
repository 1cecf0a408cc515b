#include "host/ui/spread/spreadsettings.h"

namespace host::ui {

namespace {

template <typename Fn> void forEachAttribute(SpreadSettings &s, Fn fn)
{
    fn(s.cellType);
    fn(s.maxEditLen);
    fn(s.maxEditBytes);
    fn(s.floatMin);
    fn(s.floatMax);
    fn(s.decimals);
    fn(s.moreDecimals);
    fn(s.separator);
    fn(s.lock);
    fn(s.backColor);
    fn(s.foreColor);
    fn(s.bold);
    fn(s.comboList);
}

} // namespace

void SpreadSettings::dropRowsFrom(int firstRow)
{
    forEachAttribute(*this, [firstRow](auto &attribute) { attribute.dropRowsFrom(firstRow); });
}

void SpreadSettings::permuteRows(int first, const std::vector<int> &order)
{
    forEachAttribute(*this, [&](auto &attribute) { attribute.permuteRows(first, order); });
}

} // namespace host::ui
