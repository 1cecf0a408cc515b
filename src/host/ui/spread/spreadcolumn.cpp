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
    if (m_textRows.size() > n)
        m_textRows.resize(n);
    std::vector<std::uint32_t> kept(m_texts.size(), UINT32_MAX);
    std::vector<QString> texts;
    for (std::size_t r = 0; r < m_textRows.size(); ++r) {
        if (m_kind[r] != Kind::Text)
            continue;
        std::uint32_t &id = kept[m_textRows[r]];
        if (id == UINT32_MAX) {
            id = static_cast<std::uint32_t>(texts.size());
            texts.push_back(m_texts[m_textRows[r]]);
        }
        m_textRows[r] = id;
    }
    m_texts = std::move(texts);
    m_textIds.clear();
    m_indexed = 0;
}

void SpreadColumn::clear()
{
    const int rows = size();
    *this = SpreadColumn();
    resize(rows);
}

QString SpreadColumn::text(int row) const
{
    if (kind(row) != Kind::Text)
        return QString();
    return m_texts[m_textRows[static_cast<std::size_t>(row)]];
}

std::uint32_t SpreadColumn::textId(const QString &text)
{
    for (; m_indexed < m_texts.size(); ++m_indexed) {
        if (!m_textIds.contains(m_texts[m_indexed]))
            m_textIds.insert(m_texts[m_indexed], static_cast<std::uint32_t>(m_indexed));
    }
    const auto found = m_textIds.constFind(text);
    if (found != m_textIds.constEnd())
        return found.value();
    const std::uint32_t id = addText(text);
    m_textIds.insert(text, id);
    m_indexed = m_texts.size();
    return id;
}

std::uint32_t SpreadColumn::addText(const QString &text)
{
    m_texts.push_back(text);
    return static_cast<std::uint32_t>(m_texts.size() - 1);
}

void SpreadColumn::setTextId(int row, std::uint32_t id)
{
    const auto r = static_cast<std::size_t>(row);
    if (m_textRows.size() <= r)
        m_textRows.resize(m_kind.size());
    m_textRows[r] = id;
    m_kind[r] = Kind::Text;
}

void SpreadColumn::setText(int row, const QString &text)
{
    if (text.isEmpty()) {
        setEmpty(row);
        return;
    }
    const auto r = static_cast<std::size_t>(row);
    // Neighbouring rows often show the same stock, place or unit: no look-up for them.
    if (r > 0 && m_kind[r - 1] == Kind::Text && m_texts[m_textRows[r - 1]] == text)
        setTextId(row, m_textRows[r - 1]);
    else
        setTextId(row, textId(text));
}

void SpreadColumn::setNumber(int row, double value)
{
    const auto r = static_cast<std::size_t>(row);
    if (m_numbers.size() <= r)
        m_numbers.resize(r + 1);
    m_numbers[r] = value;
    m_kind[r] = Kind::Number;
}

void SpreadColumn::setNumbers(int first, std::span<const std::optional<double>> values)
{
    std::size_t end = values.size();
    while (end > 0 && !values[end - 1])
        --end;
    const auto base = static_cast<std::size_t>(first);
    if (end > 0 && m_numbers.size() < base + end) {
        // Room for the column's every row, so that a later number below (a totals row) does
        // not move them all.
        m_numbers.reserve(m_kind.size());
        m_numbers.resize(base + end);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i]) {
            m_numbers[base + i] = *values[i];
            m_kind[base + i] = Kind::Number;
        } else {
            m_kind[base + i] = Kind::Empty;
        }
    }
}

void SpreadColumn::setEmpty(int row)
{
    m_kind[static_cast<std::size_t>(row)] = Kind::Empty;
}

void SpreadColumn::permuteRows(int first, const std::vector<int> &order)
{
    const std::vector<Kind> kinds = m_kind;
    const std::vector<double> numbers = m_numbers;
    const std::vector<std::uint32_t> textRows = m_textRows;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int to = first + static_cast<int>(i);
        const auto from = static_cast<std::size_t>(order[i]);
        switch (from < kinds.size() ? kinds[from] : Kind::Empty) {
        case Kind::Number:
            setNumber(to, numbers[from]);
            break;
        case Kind::Text:
            setTextId(to, textRows[from]);
            break;
        case Kind::Empty:
            setEmpty(to);
            break;
        }
    }
}

} // namespace host::ui
