#include "support/plainsheet.h"

#include "support/sheetquery.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace {

class Statement
{
public:
    Statement(sqlite3 *db, const std::string &sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }
    bool step() { return sqlite3_step(m_stmt) == SQLITE_ROW; }
    std::string text(int column) const
    {
        const unsigned char *value = sqlite3_column_text(m_stmt, column);
        return value ? reinterpret_cast<const char *>(value) : std::string();
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

// The columns check mode totals, each line rounded to its decimals first.
constexpr std::string_view kTotalled[] = {
    "FQty",           "FQtyAct",        "FOverQty", "FDownQty",   "FCUUnitQty",  "FCUUnitQtyAct",
    "FCUUnitOverQty", "FCUUnitDownQty", "FSecQty",  "FSecQtyAct", "FSecOverQty", "FSecDownQty"};

bool sameName(std::string_view a, std::string_view b)
{
    return sqlite3_strnicmp(a.data(), b.data(), static_cast<int>(a.size())) == 0 &&
           a.size() == b.size();
}

} // namespace

Sheet::Sheet(sqlite3 *db, long showType, const std::string &condition)
{
    Statement layout(db, "SELECT FColName,FColCaption,FColType FROM ICChatBillTitle WHERE "
                         "FTypeID=" +
                             std::to_string(showType) + " AND FVisible=1 ORDER BY FInterID");
    while (layout.step()) {
        ShownColumn column;
        column.name = layout.text(0);
        const std::string caption = layout.text(1);
        column.caption = QString::fromStdString(caption.substr(0, caption.find('$')));
        column.type = sqlite3_column_int(layout.get(), 2);
        m_columns.push_back(std::move(column));
    }
    Statement query(db, bareSheetQuery(showType, condition));
    read(query.get(), showType);
}

void Sheet::read(sqlite3_stmt *q, long showType)
{
    const int count = sqlite3_column_count(q);
    int decimals = -1;
    std::vector<int> totalled;
    for (int c = 0; c < count; ++c) {
        const std::string_view name = sqlite3_column_name(q, c);
        if (sameName(name, "FQtyDecimal"))
            decimals = c;
        for (ShownColumn &column : m_columns)
            if (column.source < 0 && sameName(name, column.name))
                column.source = c;
        if (showType == 1)
            for (std::string_view total : kTotalled)
                if (sameName(name, total))
                    totalled.push_back(c);
    }
    std::erase_if(m_columns, [](const ShownColumn &column) { return column.source < 0; });
    for (ShownColumn &column : m_columns)
        for (std::size_t i = 0; i < totalled.size(); ++i)
            if (column.source == totalled[i])
                column.total = static_cast<int>(i);
    m_totals.assign(totalled.size(), 0);
    std::vector<ShownColumn *> shown(static_cast<std::size_t>(count));
    for (ShownColumn &column : m_columns)
        shown[static_cast<std::size_t>(column.source)] = &column;
    std::size_t touched = 0;
    while (sqlite3_step(q) == SQLITE_ROW) {
        // Each value read once, as what it is.
        for (int c = 0; c < count; ++c) {
            sqlite3_value *value = sqlite3_column_value(q, c);
            const int type = sqlite3_value_type(value);
            ShownColumn *column = shown[static_cast<std::size_t>(c)];
            if (type == SQLITE_TEXT) {
                const auto bytes = static_cast<std::size_t>(sqlite3_value_bytes(value));
                const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
                touched += bytes;
                if (column && !column->number())
                    column->texts.append(text, bytes);
            } else if (type != SQLITE_NULL) {
                const double number = type == SQLITE_INTEGER
                                          ? static_cast<double>(sqlite3_value_int64(value))
                                          : sqlite3_value_double(value);
                touched += number != 0;
                if (column && column->number())
                    column->numbers.push_back(number);
                else if (column)
                    column->texts += QByteArray::number(number).toStdString();
            } else if (column && column->number()) {
                column->numbers.push_back(std::numeric_limits<double>::quiet_NaN());
            }
            if (column && !column->number())
                column->ends.push_back(static_cast<std::uint32_t>(column->texts.size()));
        }
        const int places = sqlite3_column_int(q, decimals);
        m_decimals.push_back(static_cast<std::uint8_t>(places));
        const double scale = std::pow(10.0, places);
        for (std::size_t i = 0; i < totalled.size(); ++i)
            m_totals[i] += std::round(sqlite3_column_double(q, totalled[i]) * scale) / scale;
    }
    if (touched == 0)
        throw std::runtime_error("the sheet has no lines");
}

QVariant Sheet::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    const ShownColumn &column = m_columns[static_cast<std::size_t>(index.column())];
    const auto row = static_cast<std::size_t>(index.row());
    if (row == m_decimals.size())
        return column.total < 0 ? QVariant()
                                : QString::number(m_totals[static_cast<std::size_t>(column.total)]);
    if (column.number()) {
        const double value = column.numbers[row];
        if (std::isnan(value))
            return QString();
        return QString::number(value, 'f', column.type == 3 ? 0 : m_decimals[row]);
    }
    const std::uint32_t begin = row == 0 ? 0 : column.ends[row - 1];
    return QString::fromUtf8(column.texts.data() + begin,
                             static_cast<qsizetype>(column.ends[row] - begin));
}

QVariant Sheet::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_columns[static_cast<std::size_t>(section)].caption;
}
