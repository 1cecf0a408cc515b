// A plain program that opens a count sheet as a user meets it, to time beside stockcheck as a
// whole process (whole_process.sh): Qt started, the count sheet's query of count process 1
// stepped on the database file, every column of every row read, the columns the sheet shows
// kept for scrolling, check mode's totals added, and the first screen of rows shown in a table
// and saved as a picture.
//
//   plain_open DATABASE input|check|print PICTURE
#include "support/sheetquery.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QPixmap>
#include <QTableView>
#include <sqlite3.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// One column the sheet shows, kept as compactly as it is read: numbers as doubles (NaN for
// none), texts end to end.
struct ShownColumn
{
    QString caption;
    std::string name;
    int type = 1; // the template's: 2 a decimal, 3 a whole number, else a text
    int source = -1;
    int total = -1; // its place among the totals, when check mode totals it
    std::vector<double> numbers;
    std::string texts;
    std::vector<std::uint32_t> ends;

    bool number() const { return type == 2 || type == 3; }
};

class Sheet : public QAbstractTableModel
{
public:
    Sheet(sqlite3 *db, long showType);

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_decimals.size() + !m_totals.empty());
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void read(Statement &query, long showType);

    std::vector<ShownColumn> m_columns;
    std::vector<std::uint8_t> m_decimals;
    std::vector<double> m_totals; // check mode's totals row, after the lines
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

Sheet::Sheet(sqlite3 *db, long showType)
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
    Statement query(db, bareSheetQuery(showType));
    read(query, showType);
}

void Sheet::read(Statement &query, long showType)
{
    sqlite3_stmt *q = query.get();
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
    while (query.step()) {
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

long showTypeOf(std::string_view mode)
{
    if (mode == "check")
        return 1;
    if (mode == "print")
        return 3;
    if (mode == "input")
        return 4;
    throw std::invalid_argument("no mode " + std::string(mode));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: plain_open DATABASE input|check|print PICTURE\n";
        return 2;
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    try {
        sqlite3 *opened = nullptr;
        const int rc =
            sqlite3_open_v2(argv[1], &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> db(opened, sqlite3_close);
        if (rc != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(opened));
        registerSheetFunctions(db.get());
        Sheet sheet(db.get(), showTypeOf(argv[2]));
        QTableView view;
        view.setModel(&sheet);
        view.resize(800, 640);
        view.show();
        return view.grab().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
    } catch (const std::exception &e) {
        std::cerr << "plain_open: " << e.what() << "\n";
        return 1;
    }
}
