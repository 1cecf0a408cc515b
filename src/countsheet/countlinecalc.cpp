#include "countsheet/countlinecalc.h"

#include <cmath>

namespace {

namespace C = EntryCol;

double divided(double value, double by)
{
    return by == 0 ? 0 : value / by;
}

// The sign of a quantity as the database, which keeps 10 decimals, stores it.
int signAtScale(double value)
{
    constexpr double kHalfLastDigit = 0.5e-10;
    return (value >= kHalfLastDigit) - (value <= -kHalfLastDigit);
}

ColumnSet columns(std::initializer_list<int> cols)
{
    ColumnSet set;
    for (int col : cols)
        set.set(static_cast<std::size_t>(col));
    return set;
}

// The second unit's actual quantity and adjustment once its rate or count changed.
void followSecondUnitRate(CountLine &line)
{
    const double rate = line.secCoefficient;
    line.secQtyAct = rate == 0 ? 0 : line.secDiffQty + line.secCheckQty;
    line.secAdjQty = divided(line.adjQty * line.coefficient, rate);
}

} // namespace

bool editFeedsSave(int col)
{
    switch (col) {
    case C::CheckQty:
    case C::CUUnitCheckQty:
    case C::AdjQty:
    case C::SecCoefficient:
    case C::SecCheckQty:
    case C::Note:
        return true;
    default:
        return false;
    }
}

ColumnSet recomputeLine(CountLine &line, int col)
{
    ColumnSet written;
    switch (col) {
    case C::CheckQty:
        line.qtyAct = line.diffQty + line.checkQty;
        line.secQtyAct = line.secDiffQty + line.secCheckQty;
        line.cuUnitQtyAct = divided(line.qtyAct, line.coefficient);
        line.cuUnitCheckQty = divided(line.checkQty, line.coefficient);
        line.cuUnitDiffQty = divided(line.diffQty, line.coefficient);
        written = columns(
            {C::QtyAct, C::SecQtyAct, C::CUUnitQtyAct, C::CUUnitCheckQty, C::CUUnitDiffQty});
        break;
    case C::CUUnitCheckQty:
        line.cuUnitQtyAct = line.cuUnitDiffQty + line.cuUnitCheckQty;
        line.qtyAct = line.cuUnitQtyAct * line.coefficient;
        line.checkQty = line.cuUnitCheckQty * line.coefficient;
        line.secCheckQty = divided(line.cuUnitCheckQty * line.coefficient, line.secCoefficient);
        line.secQtyAct = line.secCoefficient == 0 ? 0 : line.secCheckQty + line.secDiffQty;
        written = columns({C::CUUnitQtyAct, C::QtyAct, C::CheckQty, C::SecCheckQty, C::SecQtyAct});
        break;
    case C::SecCoefficient:
        line.secCheckQty = divided(line.checkQty, line.secCoefficient);
        followSecondUnitRate(line);
        written = columns({C::SecCheckQty, C::SecQtyAct, C::SecAdjQty});
        break;
    case C::SecCheckQty:
        // The rate follows from the two counted quantities.
        line.secCoefficient = divided(line.checkQty, line.secCheckQty);
        followSecondUnitRate(line);
        written = columns({C::SecCoefficient, C::SecQtyAct, C::SecAdjQty});
        break;
    case C::AdjQty:
        line.secAdjQty = divided(line.adjQty * line.coefficient, line.secCoefficient);
        written = columns({C::SecAdjQty});
        break;
    default:
        break;
    }
    line.blank &= ~written;
    return written;
}

ColumnSet takeBillQuantities(CountLine &line, double diffQty, double secDiffQty)
{
    line.diffQty = diffQty;
    line.secDiffQty = secDiffQty;
    line.blank.reset(C::DiffQty);
    line.blank.reset(C::SecDiffQty);
    return recomputeLine(line, C::CheckQty) | columns({C::DiffQty, C::SecDiffQty});
}

long checkLine(const CountLine &line)
{
    if (line.qty < 0 && signAtScale(line.qtyAct - line.qty) < 0)
        return NegativeBookBelow;
    // Both differences with their signs reversed, which leaves the rule as it is.
    const int base = signAtScale(line.adjQty * line.coefficient + line.qty - line.qtyAct);
    const int second = signAtScale(line.secQty + line.secAdjQty - line.secQtyAct);
    if ((base == 0 && second != 0) || (base != 0 && second != 0 && base != second))
        return DirectionConflict;
    return LineAccepted;
}
