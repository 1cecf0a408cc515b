#include "host/lookup/lookupmodel.h"

#include "host/db/recordset/recordset.h"

#include <numeric>

namespace host {
namespace {

long fieldIndex(Recordset &rows, const std::string &name)
{
    for (long i = 0; i < rows.FieldCount(); ++i) {
        if (QString::fromStdString(rows.Fields(i).Name())
                .compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

LookupModel::LookupModel(std::shared_ptr<Recordset> rows,
                         const std::vector<std::string> &shownFields,
                         const std::vector<std::string> &searchFields, QObject *parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows))
{
    for (const auto &name : shownFields)
        m_shown.push_back(fieldIndex(*m_rows, name));
    m_search = m_shown;
    for (const auto &name : searchFields)
        m_search.push_back(fieldIndex(*m_rows, name));
    m_visible.resize(static_cast<size_t>(m_rows->RecordCount()));
    std::iota(m_visible.begin(), m_visible.end(), 1L);
}

QString LookupModel::fieldText(long position, long field) const
{
    if (field < 0)
        return {};
    m_rows->AbsolutePosition(position);
    const Variant &value = m_rows->Fields(field).Value();
    return value.isNull() ? QString() : QString::fromStdString(CStr(value));
}

void LookupModel::buildSearchIndex()
{
    const long count = m_rows->RecordCount();
    m_searchText.reserve(static_cast<size_t>(count));
    for (long position = 1; position <= count; ++position) {
        QString texts;
        for (const long field : m_search)
            texts += fieldText(position, field).toLower() + QChar(u'\n');
        m_searchText.push_back(std::move(texts));
    }
}

void LookupModel::setSearch(const QString &text)
{
    const QString needle = text.trimmed().toLower();
    beginResetModel();
    m_visible.clear();
    const long count = m_rows->RecordCount();
    if (needle.isEmpty()) {
        m_visible.resize(static_cast<size_t>(count));
        std::iota(m_visible.begin(), m_visible.end(), 1L);
    } else {
        if (m_searchText.empty())
            buildSearchIndex();
        for (long position = 1; position <= count; ++position) {
            if (m_searchText[static_cast<size_t>(position - 1)].contains(needle))
                m_visible.push_back(position);
        }
    }
    endResetModel();
}

QString LookupModel::text(int row, int column) const
{
    return fieldText(position(row), m_shown[static_cast<size_t>(column)]);
}

int LookupModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_visible.size());
}

int LookupModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

QVariant LookupModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QVariant LookupModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal ||
        section >= static_cast<int>(m_headers.size()))
        return {};
    return m_headers[static_cast<size_t>(section)];
}

} // namespace host
