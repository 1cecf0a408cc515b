#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace host {

class Recordset;

// The records a lookup window lists: the code and name of each record that matches the search
// text. Texts are read from the recordset only for the rows shown, and the search texts only
// once a search is made.
class LookupModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    LookupModel(std::shared_ptr<Recordset> rows, const std::vector<std::string> &shownFields,
                const std::vector<std::string> &searchFields, QObject *parent = nullptr);

    void setHeaders(std::vector<QString> headers) { m_headers = std::move(headers); }
    // Lists the records whose code, name or search fields hold the text (case ignored).
    void setSearch(const QString &text);
    // The recordset position (from 1) of a listed row.
    long position(int row) const { return m_visible[static_cast<size_t>(row)]; }
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString fieldText(long position, long field) const;
    void buildSearchIndex();

    std::shared_ptr<Recordset> m_rows;
    std::vector<long> m_shown;  // field indexes of the shown columns
    std::vector<long> m_search; // field indexes matched by the search
    std::vector<QString> m_headers;
    std::vector<long> m_visible;
    std::vector<QString> m_searchText; // per record, its searched texts folded to lower case
};

} // namespace host
