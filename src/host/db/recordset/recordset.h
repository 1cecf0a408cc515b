#pragma once

#include "host/core/hostobject.h"
#include "host/core/variant.h"
#include "host/db/recordset/recordcolumn.h"

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// EOF is the name callers use for the end-of-rows test; the C macro of that name would turn
// the member into a number. <cstdio> is included first so that it is not defined again.
#undef EOF

namespace host {

class Recordset;
class RecordFilter;

// One field of the current row of a recordset.
class Field
{
public:
    Field(Recordset &recordset, size_t column) : m_recordset(&recordset), m_column(column) {}

    const std::string &Name() const;
    // The value in the current row; an error at BOF or EOF.
    Variant Value() const;
    // Changes the value in the client-side rows (also seen by clones); the database is not
    // written.
    void Value(const Variant &value) const;

private:
    Recordset *m_recordset;
    size_t m_column;
};

// A client-side, fully fetched set of rows, as the application connection returns it. Rows are
// shared with clones; each recordset has its own position, filter and sort. Positions of
// AbsolutePosition and Fields(index) follow the usual conventions: rows from 1, fields from 0.
class Recordset : public HostObject
{
public:
    static constexpr long adStateClosed = 0;
    static constexpr long adStateOpen = 1;
    static constexpr long adPosUnknown = -1;
    static constexpr long adPosBOF = -2;
    static constexpr long adPosEOF = -3;

    // A closed recordset (what a statement without rows yields).
    Recordset() = default;
    Recordset(std::vector<std::string> fieldNames, const std::vector<std::vector<Variant>> &rows);
    // Columns of equal length, one per field name.
    static std::shared_ptr<Recordset> fromColumns(std::vector<std::string> fieldNames,
                                                  std::vector<RecordColumn> columns);

    long State() const { return m_data ? adStateOpen : adStateClosed; }
    void Close();

    long RecordCount() const;
    bool EOF() const;
    bool BOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // Moves by rows from the current row; past either end leaves the recordset at EOF or BOF.
    void Move(long rows);

    long FieldCount() const;
    Field Fields(long index);
    Field Fields(std::string_view name);

    // For a reader of many rows: the rows from the current one to the last, in the order of the
    // sort and filter in force, as rows of the fields' columns (valid until the view changes);
    // and the values of a field (0-based) over every row.
    std::span<const size_t> rowsAhead() const;
    const RecordColumn &column(long field) const;

    // ADO criteria: "Field op value" joined by AND/OR, values as 'text', #date# or numbers,
    // op one of = <> < > <= >= LIKE (with * or % as wildcards). "" removes the filter.
    const std::string &Filter() const { return m_filter; }
    void Filter(std::string_view criteria);
    // "Field [ASC|DESC], ..."; "" restores the order of the query.
    const std::string &Sort() const { return m_sort; }
    void Sort(std::string_view fields);

    // Same rows, own position (the first row), no filter or sort.
    std::shared_ptr<Recordset> Clone() const;

    Variant Bookmark() const;
    void Bookmark(const Variant &bookmark);
    long AbsolutePosition() const;
    void AbsolutePosition(long position);

private:
    friend class Field;
    struct Data
    {
        std::vector<std::string> names;
        std::vector<RecordColumn> columns;
        size_t rows = 0;
        std::unordered_map<std::string, size_t> index; // uppercase name -> first field of it
        // Criteria parsed before, by their text: a caller that filters row after row by one
        // field with changing values parses each text once.
        std::unordered_map<std::string, std::shared_ptr<const RecordFilter>> filters;
    };

    explicit Recordset(std::shared_ptr<Data> data);
    void indexNames();
    void requireOpen() const;
    void requireRow() const;
    size_t fieldIndex(std::string_view name) const;
    void changeView(std::string &setting, std::string_view text);
    void rebuildView();
    std::shared_ptr<const RecordFilter> parsedFilter();
    size_t currentRow() const;

    std::shared_ptr<Data> m_data;
    std::vector<size_t> m_view; // rows in sort order that pass the filter
    long m_pos = 0;             // index into m_view; -1 is BOF, size() is EOF
    std::string m_filter;
    std::string m_sort;
};

// Whether the result holds a row to read: there is a recordset, it is open and it is not past
// its last row. The one test for "the query found something".
bool hasRows(const std::shared_ptr<Recordset> &rs);

} // namespace host
