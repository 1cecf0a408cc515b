#include "host/ui/spreadcolumn.h"

namespace host::ui {

void SpreadColumn::resize(int rows)
{
    const auto n = static_cast<std::size_t>(rows);
    m_kind.resize(n, Kind::Empty);
    if (!m_numbers.empty())
        m_numbers.resize(n);
    if (!m_texts.empty())
        m_texts.resize(n);
}

void SpreadColumn::clear()
{
    const int rows = size();
    m_kind.assign(m_kind.size(), Kind::Empty);
    std::vector<double>().swap(m_numbers);
    std::vector<QString>().swap(m_texts);
    resize(rows);
}

double SpreadColumn::number(int row) const
{
    return isNumber(row) ? m_numbers[static_cast<std::size_t>(row)] : 0.0;
}

QString SpreadColumn::text(int row) const
{
    return kind(row) == Kind::Text ? m_texts[static_cast<std::size_t>(row)] : QString();
}

void SpreadColumn::setText(int row, const QString &text)
{
    if (text.isEmpty()) {
        setEmpty(row);
        return;
    }
    const auto r = static_cast<std::size_t>(row);
    if (m_texts.empty())
        m_texts.resize(m_kind.size());
    // Neighbouring rows often show the same stock, item or unit: they share one copy.
    if (r > 0 && m_kind[r - 1] == Kind::Text && m_texts[r - 1] == text)
        m_texts[r] = m_texts[r - 1];
    else
        m_texts[r] = text;
    m_kind[r] = Kind::Text;
}

void SpreadColumn::setNumber(int row, double value)
{
    const auto r = static_cast<std::size_t>(row);
    if (m_numbers.empty())
        m_numbers.resize(m_kind.size());
    m_numbers[r] = value;
    if (m_kind[r] == Kind::Text)
        m_texts[r] = QString();
    m_kind[r] = Kind::Number;
}

void SpreadColumn::setEmpty(int row)
{
    const auto r = static_cast<std::size_t>(row);
    if (m_kind[r] == Kind::Text)
        m_texts[r] = QString();
    m_kind[r] = Kind::Empty;
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
