#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

// The count sheet as a plain program holds it: the count-sheet query of count process 1 stepped
// on the database file, every column of every row read, the columns the sheet shows kept for
// scrolling, check mode's totals added; a table model over them.

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
    // The sheet of a show type (1 check, 3 print, 4 input), with the filter's condition when
    // given.
    Sheet(sqlite3 *db, long showType, const std::string &condition = {});

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
    void read(sqlite3_stmt *query, long showType);

    std::vector<ShownColumn> m_columns;
    std::vector<std::uint8_t> m_decimals;
    std::vector<double> m_totals; // check mode's totals row, after the lines
};
