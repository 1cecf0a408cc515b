#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace host::ui {

// The values of one grid column: a number or a text per row. Numbers and texts are stored only up
// to the last row that holds one, and each text once for the column (rows keep its index), so a
// grid of many rows, whose column titles are texts and whose names repeat, costs a few bytes per
// cell.
class SpreadColumn
{
public:
    int size() const { return static_cast<int>(m_kind.size()); }
    void resize(int rows);
    void clear();

    bool isEmpty(int row) const { return kind(row) == Kind::Empty; }
    bool isNumber(int row) const { return kind(row) == Kind::Number; }
    double number(int row) const
    {
        return isNumber(row) ? m_numbers[static_cast<std::size_t>(row)] : 0.0;
    }
    // The text of a text cell; empty for other cells.
    QString text(int row) const;
    // For a reader of many rows that converts each text once: the place of a text cell's text
    // among the column's texts, -1 for other cells.
    long textIndex(int row) const
    {
        return kind(row) == Kind::Text
                   ? static_cast<long>(m_textRows[static_cast<std::size_t>(row)])
                   : -1;
    }

    void setText(int row, const QString &text);
    void setNumber(int row, double value);
    void setEmpty(int row);

    // For a writer of many rows, who tells the texts apart itself: a text added to the column
    // without looking it up (the first one added of equal texts is the one a later look-up
    // finds), and a row showing the text of that number.
    std::uint32_t addText(const QString &text);
    void setTextId(int row, std::uint32_t id);
    // Rows first + i hold values[i], or nothing where there is no value: as setNumber() or
    // setEmpty() of each.
    void setNumbers(int first, std::span<const std::optional<double>> values);

    // Rows first + i take the values of rows order[i].
    void permuteRows(int first, const std::vector<int> &order);

private:
    enum class Kind : std::uint8_t
    {
        Empty,
        Text,
        Number
    };
    Kind kind(int row) const
    {
        return row >= 0 && row < size() ? m_kind[static_cast<std::size_t>(row)] : Kind::Empty;
    }

    std::uint32_t textId(const QString &text);

    std::vector<Kind> m_kind;
    std::vector<double> m_numbers;
    std::vector<std::uint32_t> m_textRows; // index into m_texts
    std::vector<QString> m_texts;
    // Texts to their index; the texts from m_indexed on are not in it yet.
    QHash<QString, std::uint32_t> m_textIds;
    std::size_t m_indexed = 0;
};

} // namespace host::ui
