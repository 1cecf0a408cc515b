#include "host/ui/spread/spreadcolumn.h"

#include <algorithm>

namespace host::ui {

void SpreadColumn::resize(int rows)
{
    const auto n = static_cast<std::size_t>(rows);
    const bool shrinks = n < m_kind.size();
    m_kind.resize(n, Kind::Empty);
    if (m_numbers.size() > n)
        m_numbers.resize(n);
    if (!shrinks)
        return;
    // The texts of the rows dropped go with them.
    const SpreadColumn old(*this);
    m_textRows.clear();
    m_texts.clear();
    m_textIds.clear();
    for (std::size_t r = 0; r < n; ++r)
        if (old.m_kind[r] == Kind::Text)
            setText(static_cast<int>(r), old.text(static_cast<int>(r)));
}

void SpreadColumn::clear()
{
    const int rows = size();
    *this = SpreadColumn();
    resize(rows);
}

double SpreadColumn::number(int row) const
{
    return isNumber(row) ? m_numbers[static_cast<std::size_t>(row)] : 0.0;
}

QString SpreadColumn::text(int row) const
{
    if (kind(row) != Kind::Text)
        return QString();
    return m_texts[m_textRows[static_cast<std::size_t>(row)]];
}

std::uint32_t SpreadColumn::textId(const QString &text)
{
    const auto found = m_textIds.constFind(text);
    if (found != m_textIds.constEnd())
        return found.value();
    const auto id = static_cast<std::uint32_t>(m_texts.size());
    m_texts.push_back(text);
    m_textIds.insert(text, id);
    return id;
}

void SpreadColumn::setText(int row, const QString &text)
{
    if (text.isEmpty()) {
        setEmpty(row);
        return;
    }
    const auto r = static_cast<std::size_t>(row);
    if (m_textRows.size() <= r)
        m_textRows.resize(r + 1);
    // Neighbouring rows often show the same stock, place or unit: no look-up for them.
    if (r > 0 && m_kind[r - 1] == Kind::Text && m_texts[m_textRows[r - 1]] == text)
        m_textRows[r] = m_textRows[r - 1];
    else
        m_textRows[r] = textId(text);
    m_kind[r] = Kind::Text;
}

void SpreadColumn::setNumber(int row, double value)
{
    const auto r = static_cast<std::size_t>(row);
    if (m_numbers.size() <= r)
        m_numbers.resize(r + 1);
    m_numbers[r] = value;
    m_kind[r] = Kind::Number;
}

void SpreadColumn::setEmpty(int row)
{
    m_kind[static_cast<std::size_t>(row)] = Kind::Empty;
}

void SpreadColumn::permuteRows(int first, const std::vector<int> &order)
{
    const SpreadColumn old(*this);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int to = first + static_cast<int>(i);
        const int from = order[i];
        if (old.isNumber(from))
            setNumber(to, old.number(from));
        else
            setText(to, old.text(from));
    }
}

} // namespace host::ui
