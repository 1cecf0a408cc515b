#include "host/ui/spread/spreadmodel.h"

#include "host/ui/form/olecolor.h"
#include "host/ui/form/textlength.h"
#include "host/ui/spread/numberformat.h"

#include <QBrush>
#include <QFont>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace host::ui {

namespace {

bool isNumberType(CellType type)
{
    return type == CellType::Float || type == CellType::Integer || type == CellType::CheckBox;
}

bool truthy(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    const auto number = parseNumber(t);
    return number && *number != 0.0;
}

} // namespace

SpreadModel::SpreadModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_columns.resize(1);
    m_columns[0].resize(1);
}

void SpreadModel::setMaxRows(int rows)
{
    rows = std::max(rows, 0);
    if (rows == m_maxRows)
        return;
    beginResetModel();
    if (rows < m_maxRows)
        m_settings.dropRowsFrom(rows + 1);
    m_maxRows = rows;
    for (SpreadColumn &col : m_columns)
        col.resize(rows + 1);
    endResetModel();
}

void SpreadModel::setMaxCols(int cols)
{
    cols = std::max(cols, 0);
    if (cols == m_maxCols)
        return;
    beginResetModel();
    m_maxCols = cols;
    m_columns.resize(static_cast<std::size_t>(cols) + 1);
    for (SpreadColumn &col : m_columns)
        col.resize(m_maxRows + 1);
    endResetModel();
}

void SpreadModel::settingsChanged(const CellBlock &block)
{
    if (!m_redraw || m_maxRows == 0 || m_maxCols == 0)
        return;
    const int c1 = block.allCols ? 1 : std::max(block.col1, 1);
    const int c2 = block.allCols ? m_maxCols : std::min(block.col2, m_maxCols);
    const int r1 = block.allRows ? 1 : std::max(block.row1, 1);
    const int r2 = block.allRows ? m_maxRows : std::min(block.row2, m_maxRows);
    if (c1 <= c2 && r1 <= r2)
        emit dataChanged(index(r1 - 1, c1 - 1), index(r2 - 1, c2 - 1));
}

void SpreadModel::storeText(int col, int row, const QString &text)
{
    SpreadColumn &cells = column(col);
    const CellType type = m_settings.cellType.get(col, row);
    if (row == 0 || col == 0 || !isNumberType(type) || text.isEmpty()) {
        cells.setText(row, text);
        return;
    }
    if (type == CellType::CheckBox) {
        cells.setNumber(row, truthy(text) ? 1.0 : 0.0);
        return;
    }
    const auto number = parseNumber(text);
    if (!number)
        cells.setEmpty(row);
    else
        cells.setNumber(row, type == CellType::Integer ? std::round(*number) : *number);
}

void SpreadModel::cellWritten(int col, int row)
{
    if (!m_redraw)
        return;
    if (row == 0 && col > 0)
        emit headerDataChanged(Qt::Horizontal, col - 1, col - 1);
    else if (col == 0 && row > 0)
        emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    else if (row > 0)
        emit dataChanged(index(row - 1, col - 1), index(row - 1, col - 1));
}

void SpreadModel::columnWritten(int col, int first, int last)
{
    if (!m_redraw || first > last)
        return;
    if (first == 0)
        cellWritten(col, 0);
    if (col > 0 && last > 0)
        emit dataChanged(index(std::max(first, 1) - 1, col - 1), index(last - 1, col - 1));
    else if (col == 0 && last > 0)
        emit headerDataChanged(Qt::Vertical, std::max(first, 1) - 1, last - 1);
}

void SpreadModel::setCellText(int col, int row, const QString &text)
{
    if (!inRange(col, row))
        return;
    storeText(col, row, text);
    cellWritten(col, row);
}

void SpreadModel::storeNumber(int col, int row, double value)
{
    const CellType type = m_settings.cellType.get(col, row);
    const bool keepsNumber =
        type == CellType::Edit || type == CellType::Float || type == CellType::Integer;
    if (row == 0 || col == 0 || !keepsNumber || !std::isfinite(value))
        storeText(col, row, formatFull(value));
    else
        column(col).setNumber(row, type == CellType::Integer ? std::round(value) : value);
}

void SpreadModel::setCellNumber(int col, int row, double value)
{
    if (!inRange(col, row))
        return;
    storeNumber(col, row, value);
    cellWritten(col, row);
}

SpreadModel::ColumnRun SpreadModel::columnRun(int col, int first, std::size_t count) const
{
    if (col < 0 || col > m_maxCols || first < 0)
        return {first - 1, std::nullopt};
    const int last = std::min(m_maxRows, first + static_cast<int>(count) - 1);
    if (last < first || first == 0 || col == 0)
        return {last, std::nullopt};
    return {last, m_settings.cellType.sameInColumn(col, first, last)};
}

void SpreadModel::setColumnNumbers(int col, int first,
                                   std::span<const std::optional<double>> values)
{
    const auto [last, type] = columnRun(col, first, values.size());
    if (last < first)
        return;
    SpreadColumn &cells = column(col);
    const auto count = static_cast<std::size_t>(last - first) + 1;
    // Data cells of a column set up alike keep a finite number as it is given.
    const bool plain =
        (type == CellType::Edit || type == CellType::Float) &&
        std::all_of(
            values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count),
            [](const std::optional<double> &value) { return !value || std::isfinite(*value); });
    if (plain) {
        cells.setNumbers(first, values.first(count));
    } else {
        for (int row = first; row <= last; ++row) {
            const std::optional<double> &value = values[static_cast<std::size_t>(row - first)];
            if (value)
                storeNumber(col, row, *value);
            else
                cells.setEmpty(row);
        }
    }
    columnWritten(col, first, last);
}

void SpreadModel::setColumnTexts(int col, int first, std::span<const QString> texts,
                                 std::span<const std::uint32_t> ids)
{
    const auto [last, type] = columnRun(col, first, ids.size());
    if (last < first)
        return;
    SpreadColumn &cells = column(col);
    // Data cells of a column set up alike keep a text as it is given.
    const bool plain = type && !isNumberType(*type);
    constexpr std::uint32_t kUnknown = UINT32_MAX;
    std::vector<std::uint32_t> own(texts.size(), kUnknown);
    for (int row = first; row <= last; ++row) {
        const std::uint32_t id = ids[static_cast<std::size_t>(row - first)];
        const QString &text = texts[id];
        if (text.isEmpty()) {
            cells.setEmpty(row);
        } else if (!plain) {
            storeText(col, row, text);
        } else {
            if (own[id] == kUnknown)
                own[id] = cells.addText(text);
            cells.setTextId(row, own[id]);
        }
    }
    columnWritten(col, first, last);
}

QString SpreadModel::cellValue(int col, int row) const
{
    if (!inRange(col, row))
        return {};
    const SpreadColumn &cells = column(col);
    if (!cells.isNumber(row))
        return cells.text(row);
    return formatFull(cells.number(row));
}

QString SpreadModel::cellText(int col, int row) const
{
    if (!inRange(col, row))
        return {};
    const SpreadColumn &cells = column(col);
    if (!cells.isNumber(row))
        return cells.text(row);
    const double value = cells.number(row);
    switch (m_settings.cellType.get(col, row)) {
    case CellType::Float: {
        int decimals = m_settings.decimals.get(col, row);
        const int more = m_settings.moreDecimals.get(col, row);
        if (more > decimals)
            decimals = std::max(decimals, decimalsOf(value, more));
        return formatFixed(value, decimals, m_settings.separator.get(col, row));
    }
    case CellType::Integer:
        return formatFixed(value, 0, false);
    default:
        return formatFull(value);
    }
}

bool SpreadModel::isEditable(int col, int row) const
{
    return inRange(col, row) && row > 0 && col > 0 && !m_settings.lock.get(col, row) &&
           m_settings.cellType.get(col, row) != CellType::StaticText;
}

QStringList SpreadModel::comboItems(int col, int row) const
{
    const QString list = m_settings.comboList.get(col, row);
    return list.isEmpty() ? QStringList() : list.split(QLatin1Char('\t'));
}

void SpreadModel::setRedraw(bool on)
{
    if (on == m_redraw)
        return;
    m_redraw = on;
    if (!on)
        return;
    if (m_maxRows > 0 && m_maxCols > 0)
        emit dataChanged(index(0, 0), index(m_maxRows - 1, m_maxCols - 1));
    if (m_maxCols > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_maxCols - 1);
    if (m_maxRows > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_maxRows - 1);
}

void SpreadModel::sortRows(int first, int last, const std::vector<std::pair<int, int>> &keys)
{
    first = std::max(first, 1);
    last = std::min(last, m_maxRows);
    if (first >= last || keys.empty())
        return;
    std::vector<int> order(static_cast<std::size_t>(last - first + 1));
    std::iota(order.begin(), order.end(), first);
    // A number in a text cell sorts as the text it shows.
    auto rank = [this](int col, int row) {
        const SpreadColumn &cells = column(col);
        if (cells.isEmpty(row))
            return 0;
        return cells.isNumber(row) && isNumberType(m_settings.cellType.get(col, row)) ? 1 : 2;
    };
    auto compareCells = [&](int col, int a, int b) {
        const SpreadColumn &cells = column(col);
        const int rankA = rank(col, a);
        const int rankB = rank(col, b);
        if (rankA != rankB)
            return rankA < rankB ? -1 : 1;
        if (rankA == 1) {
            const double x = cells.number(a);
            const double y = cells.number(b);
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        return cellValue(col, a).localeAwareCompare(cellValue(col, b));
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (const auto &[col, direction] : keys) {
            if (col < 1 || col > m_maxCols)
                continue;
            const int c = compareCells(col, a, b);
            if (c != 0)
                return direction == 2 ? c > 0 : c < 0;
        }
        return false;
    });
    for (SpreadColumn &cells : m_columns)
        cells.permuteRows(first, order);
    m_settings.permuteRows(first, order);
    if (m_redraw) {
        emit dataChanged(index(first - 1, 0), index(last - 1, m_maxCols - 1));
        emit headerDataChanged(Qt::Vertical, first - 1, last - 1);
    }
}

bool SpreadModel::commitUserText(int col, int row, const QString &typed)
{
    if (!isEditable(col, row))
        return false;
    const CellType type = m_settings.cellType.get(col, row);
    const QString before = cellValue(col, row);
    if (type == CellType::Float || type == CellType::Integer) {
        // An editor closed on the value as it was opened changes nothing, whatever its digits.
        if (typed == editingText(col, row))
            return true;
        if (numberRefusal(col, row, typed))
            return false;
        if (const auto number = parseTypedNumber(typed))
            column(col).setNumber(row, number->value);
        else
            column(col).setEmpty(row);
    } else {
        const QString text =
            type == CellType::Edit
                ? withinLength(typed, std::max(m_settings.maxEditLen.get(col, row), 0),
                               m_settings.maxEditBytes.get(col, row))
                : typed;
        storeText(col, row, text);
    }
    if (cellValue(col, row) == before)
        return true;
    cellWritten(col, row);
    emit userChanged(col, row);
    return true;
}

std::optional<CellRefusal> SpreadModel::numberRefusal(int col, int row, const QString &typed) const
{
    const CellType type = m_settings.cellType.get(col, row);
    if ((type != CellType::Float && type != CellType::Integer) || typed.trimmed().isEmpty() ||
        typed == editingText(col, row))
        return std::nullopt;
    // What cannot be read as a number within the cell's limits is refused whole: no leading part
    // of it is kept, and no digit beyond those the cell shows.
    const auto number = parseTypedNumber(typed);
    if (!number)
        return CellRefusal{CellRefusal::NotANumber, 0};
    const int shown = type == CellType::Integer ? 0
                                                : std::max(m_settings.decimals.get(col, row),
                                                           m_settings.moreDecimals.get(col, row));
    if (number->decimals > shown)
        return CellRefusal{CellRefusal::TooManyDecimals, static_cast<double>(shown)};
    if (const double min = m_settings.floatMin.get(col, row); number->value < min)
        return CellRefusal{CellRefusal::BelowMinimum, min};
    if (const double max = m_settings.floatMax.get(col, row); number->value > max)
        return CellRefusal{CellRefusal::AboveMaximum, max};
    return std::nullopt;
}

QString SpreadModel::editingText(int col, int row) const
{
    const CellType type = m_settings.cellType.get(col, row);
    if ((type == CellType::Float || type == CellType::Integer) && cellIsNumber(col, row))
        return editText(cellNumber(col, row));
    return cellValue(col, row);
}

int SpreadModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_maxRows;
}

int SpreadModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_maxCols;
}

QVariant SpreadModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    const CellType type = m_settings.cellType.get(col, row);
    switch (role) {
    case Qt::DisplayRole:
        return type == CellType::CheckBox ? QVariant() : QVariant(cellText(col, row));
    case Qt::EditRole:
        return editingText(col, row);
    case Qt::CheckStateRole:
        if (type != CellType::CheckBox)
            return {};
        return cellNumber(col, row) != 0.0 ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole: {
        const long color = m_settings.backColor.get(col, row);
        return color == SpreadSettings::DefaultColor ? QVariant() : QBrush(fromOleColor(color));
    }
    case Qt::ForegroundRole: {
        const long color = m_settings.foreColor.get(col, row);
        return color == SpreadSettings::DefaultColor ? QVariant() : QBrush(fromOleColor(color));
    }
    case Qt::FontRole: {
        if (!m_settings.bold.get(col, row))
            return {};
        QFont font;
        font.setBold(true);
        return font;
    }
    case Qt::TextAlignmentRole:
        if (type == CellType::Float || type == CellType::Integer)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool SpreadModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    if (role == Qt::CheckStateRole) {
        const bool checked = value.toInt() == Qt::Checked;
        return commitUserText(col, row, checked ? QStringLiteral("1") : QStringLiteral("0"));
    }
    if (role == Qt::EditRole)
        return commitUserText(col, row, value.toString());
    return false;
}

Qt::ItemFlags SpreadModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int col = index.column() + 1;
    const int row = index.row() + 1;
    if (!isEditable(col, row))
        return result;
    if (m_settings.cellType.get(col, row) == CellType::CheckBox)
        return result | Qt::ItemIsUserCheckable;
    return result | Qt::ItemIsEditable;
}

QVariant SpreadModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return cellText(section + 1, 0);
    const QString text = cellText(0, section + 1);
    return text.isEmpty() ? QString::number(section + 1) : text;
}

} // namespace host::ui
